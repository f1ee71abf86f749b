// Renders the network game's windows with sample contents into PNG files of a folder given on
// the command line, for the documentation's screenshots. Run it on a real display (or Xvfb).
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTest>

#include "core/memory_settings.h"
#include "net/windows/chat_window.h"
#include "net/windows/connect_dialog.h"
#include "net/windows/rule_differences_window.h"
#include "settings/setting_keys.h"

using namespace meldora;

namespace {

// The window with its frame, as the user sees it.
bool saveWindow(QWidget& window, const QString& file)
{
    window.show();
    window.raise();
    QTest::qWait(500);
    const QRect frame = window.frameGeometry();
    QPixmap picture = window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    if (picture.isNull())
        picture = window.grab();
    return picture.save(file);
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    MemorySettings settings;
    settings.WriteValue("Network\\LANHist0", std::string("192.168.1.20"));
    settings.WriteValue("Network\\LANHist1", std::string("10.0.0.9"));
    Write(settings, keys::LANorInternet, true);
    Write(settings, keys::LANAddress, std::string("192.168.1.20"));
    bool ok = true;

    ConnectDialog connectDialog(settings, QStringLiteral("Ann"), nullptr, [] {
        return QStringList{QStringLiteral("192.168.1.14"), QStringLiteral("10.8.0.2"), QStringLiteral("81.20.30.40")};
    });
    connectDialog.move(40, 40);
    ok &= saveWindow(connectDialog, folder.filePath(QStringLiteral("connect_dialog.png")));
    connectDialog.hide();

    settings.WriteValue(keys::ChatLeft, 40);
    settings.WriteValue(keys::ChatTop, 40);
    ChatWindow chat(settings, QStringLiteral("Ann"));
    chat.addIncomingLine(QStringLiteral("Welcome to Meldora, Ann!"));
    chat.addChatLine(QStringLiteral("Ann: Hi Bob, ready for a match?"));
    chat.addIncomingLine(QStringLiteral("Bob: Sure. Shall we play by Hoyle rules?"));
    QTest::qWait(400);
    chat.input()->setText(QStringLiteral("Fine with me"));
    ok &= saveWindow(chat, folder.filePath(QStringLiteral("chat_window.png")));
    chat.hide();

    RuleDifferencesWindow differences;
    differences.move(40, 40);
    differences.showDifferences(
        {{QStringLiteral("Number of Cards drawn each turn"), QStringLiteral("One"), QStringLiteral("Two")},
         {QStringLiteral("Discard Pile initially frozen"), QStringLiteral("Yes"), QStringLiteral("No")},
         {QStringLiteral("Wildcard Canasta allowed"), QStringLiteral("No"), QStringLiteral("Yes")}});
    ok &= saveWindow(differences, folder.filePath(QStringLiteral("rule_differences.png")));
    return ok ? 0 : 1;
}
