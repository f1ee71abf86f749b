// The chat window: the history's length, what Enter sends, the cut of a long line, where the
// window goes and the font it keeps.
#include "net/windows/chat_window.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "settings/setting_keys.h"
#include "support/gui_app.h"
#include "support/memory_settings.h"

using namespace meldora;

namespace {

class ChatWindowTest : public ::testing::Test {
protected:
    void SetUp() override { mainWindow.move(37, 42); }

    QApplication& app = test::EnsureGuiApplication();
    MemorySettings settings;
    QWidget mainWindow;
};

TEST_F(ChatWindowTest, HistoryKeepsTheLast101Lines)
{
    ChatWindow chat(settings, QStringLiteral("Ann"), &mainWindow);
    for (int n = 1; n <= 150; ++n)
        chat.addChatLine(QStringLiteral("line %1").arg(n));
    const QStringList lines = chat.historyLines();
    ASSERT_EQ(lines.size(), 101);
    EXPECT_EQ(lines.first(), QStringLiteral("line 50"));
    EXPECT_EQ(lines.last(), QStringLiteral("line 150"));
}

TEST_F(ChatWindowTest, EnterSendsNameAndTextAndEmptiesTheInput)
{
    ChatWindow chat(settings, QStringLiteral("Ann"), &mainWindow);
    QSignalSpy sent(&chat, &ChatWindow::lineEntered);
    QTest::keyClick(chat.input(), Qt::Key_Return);
    chat.input()->setText(QStringLiteral("hello"));
    QTest::keyClick(chat.input(), Qt::Key_Return);
    ASSERT_EQ(sent.size(), 2);
    EXPECT_EQ(sent[0][0].toString(), QStringLiteral("Ann: "));
    EXPECT_EQ(sent[1][0].toString(), QStringLiteral("Ann: hello"));
    EXPECT_EQ(chat.historyLines(), (QStringList{QStringLiteral("Ann: "), QStringLiteral("Ann: hello")}));
    EXPECT_TRUE(chat.input()->text().isEmpty());
}

TEST_F(ChatWindowTest, ALongLineIsCutAtACharacterBoundary)
{
    // "Ann: " is 5 bytes; each euro sign is 3, so the 81st would end at byte 248 and the 82nd
    // would cross 249.
    const QString euros(100, QChar(0x20AC));
    const QString cut = cutChatLine(QStringLiteral("Ann: ") + euros);
    EXPECT_EQ(cut.toUtf8().size(), 5 + 81 * 3);
    EXPECT_EQ(cut, QStringLiteral("Ann: ") + QString(81, QChar(0x20AC)));

    // A character outside the basic plane is a surrogate pair: four bytes, never split.
    const QString clef = QString::fromUcs4(U"\U0001D11E");
    const QString cutPairs = cutChatLine(QString(62, QLatin1Char('a')) + QString(clef).repeated(60));
    EXPECT_EQ(cutPairs.toUtf8().size(), 62 + 46 * 4);
    EXPECT_FALSE(cutPairs.back().isHighSurrogate());

    const QString ascii(300, QLatin1Char('x'));
    EXPECT_EQ(cutChatLine(ascii).size(), MaxChatLineBytes);
}

TEST_F(ChatWindowTest, AnIncomingLineFlashesButAWindowClosedByTheUserStaysHidden)
{
    ChatWindow chat(settings, QStringLiteral("Ann"), &mainWindow);
    chat.show();
    chat.close();
    chat.addIncomingLine(QStringLiteral("Bob: still there?"));
    EXPECT_FALSE(chat.isVisible());
    EXPECT_TRUE(chat.isHighlighted());
    EXPECT_EQ(chat.historyLines(), QStringList{QStringLiteral("Bob: still there?")});
    QTRY_VERIFY_WITH_TIMEOUT(!chat.isHighlighted(), 2000);

    QKeyEvent typed(QEvent::KeyPress, Qt::Key_H, Qt::NoModifier, QStringLiteral("h"));
    chat.typeIntoInput(&typed);
    EXPECT_TRUE(chat.isVisible());
    EXPECT_EQ(chat.input()->text(), QStringLiteral("h"));
}

// An off-screen place falls back to the main window; a move, a size and a larger font are
// kept for the next window.
TEST_F(ChatWindowTest, PlaceSizeAndFontAreKeptAndAnOffScreenPlaceFallsBack)
{
    settings.WriteValue(keys::ChatLeft, -20);
    settings.WriteValue(keys::ChatTop, 100000);
    int defaultHeight = 0;
    {
        ChatWindow chat(settings, QStringLiteral("Ann"), &mainWindow);
        EXPECT_EQ(chat.pos(), QPoint(37, 42));
        chat.move(120, 80);
        chat.resize(500, 150);
        defaultHeight = chat.input()->height();
        QFont larger = chat.history()->font();
        larger.setPointSize(14);
        larger.setBold(true);
        chat.useFont(larger);
        EXPECT_GT(chat.input()->height(), defaultHeight);
    }
    ChatWindow next(settings, QStringLiteral("Ann"), &mainWindow);
    EXPECT_EQ(next.pos(), QPoint(120, 80));
    EXPECT_EQ(next.size().width(), 500);
    EXPECT_EQ(next.input()->font().pointSize(), 14);
    EXPECT_TRUE(next.history()->font().bold());
    EXPECT_GT(next.input()->height(), defaultHeight);
}

TEST_F(ChatWindowTest, AnUnknownFontFamilyGivesTheSystemFont)
{
    Write(settings, keys::ChatFontName, std::string("No Such Family Anywhere"));
    ChatWindow chat(settings, QStringLiteral("Ann"), &mainWindow);
    EXPECT_EQ(chat.history()->font().family(), QApplication::font().family());
}

}  // namespace
