// The Deck dialog and the pattern chooser: what OK and Apply store, what Cancel leaves
// alone, and the choosers behind Change.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QMouseEvent>
#include <QTimer>
#include <functional>

#include "support/gui_app.h"
#include "support/memory_settings.h"
#include "table/deck_dialog.h"
#include "table/pattern_dialog.h"
#include "table/prompts.h"

namespace meldora {
namespace {

QImage Pixels(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

void Release(QWidget* widget, Qt::MouseButton button, QPoint at)
{
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), widget->mapToGlobal(QPointF(at)), button,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

// Runs `answer` on the modal dialog that the next action opens.
void WhenModalOpens(std::function<void(QWidget*)> answer)
{
    QTimer::singleShot(0, [answer] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        answer(modal);
    });
}

class DeckDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::EnsureGuiApplication();
        ASSERT_TRUE(temp_.isValid());
        qputenv("MELDORA_HOME", temp_.path().toUtf8());
        prompts::setResponder([this](const prompts::Request& request) {
            requests_.push_back(request);
            return fileAnswer_;
        });
    }
    void TearDown() override { prompts::setResponder({}); }

    template <typename T>
    static T* Find(const QWidget& dialog, const QString& name)
    {
        T* widget = dialog.findChild<T*>(name);
        if (!widget)
            ADD_FAILURE() << "no control " << name.toStdString();
        return widget;
    }
    static QRadioButton* Radio(const QWidget& d, const char* group, int item)
    {
        return Find<QRadioButton>(d, QStringLiteral("%1Item%2").arg(QLatin1String(group)).arg(item));
    }
    static QPushButton* Button(const QWidget& d, const char* name) { return Find<QPushButton>(d, QLatin1String(name)); }
    static QColor PreviewCentre(const QWidget& d)
    {
        const QImage preview = Pixels(Find<QLabel>(d, QStringLiteral("imCardback"))->pixmap());
        return preview.pixelColor(preview.width() / 2, preview.height() / 2);
    }

    QTemporaryDir temp_;
    test::RecordingSettings settings_;
    std::vector<prompts::Request> requests_;
    QString fileAnswer_;
};

TEST_F(DeckDialogTest, OkAfterChangingDeckTwoStoresBothTypesAndOnlyTheValuesOfThoseTypes)
{
    settings_.WriteValue("Cardback\\Type0", 0);
    settings_.WriteValue("Cardback\\Color0", 0x00FF0000);
    settings_.WriteValue("Cardback\\Type1", 1);
    settings_.Written.clear();
    DeckDialog dialog(settings_, {});
    EXPECT_EQ(Find<QLabel>(dialog, QStringLiteral("imCardback"))->size(), QSize(53, 81));
    EXPECT_TRUE(Radio(dialog, "rgDeck", 0)->isChecked());
    EXPECT_TRUE(Radio(dialog, "rgCardbackType", 0)->isChecked());
    EXPECT_EQ(PreviewCentre(dialog), QColor(0, 0, 255));

    dialog.show();
    EXPECT_FALSE(Button(dialog, "bnApply")->isEnabled());
    Radio(dialog, "rgDeck", 1)->click();
    EXPECT_TRUE(Radio(dialog, "rgCardbackType", 1)->isChecked());
    // Deck two's pattern was never stored: the beach, as on the table.
    EXPECT_EQ(PreviewCentre(dialog), Pixels(drawPatternBack(0, QSize(53, 81), 1.0)).pixelColor(26, 40));
    WhenModalOpens([](QWidget* modal) {
        auto* chooser = qobject_cast<PatternDialog*>(modal);
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->selected(), 0);
        Release(chooser->findChild<QWidget*>(QStringLiteral("pnPatterns")), Qt::LeftButton,
                chooser->imageRect(7).center());
        chooser->findChild<QPushButton*>(QStringLiteral("bnOk"))->click();
    });
    Button(dialog, "bnChange")->click();
    EXPECT_EQ(dialog.cardBacks()[1].backPattern, 7);
    EXPECT_TRUE(settings_.Written.empty());
    Button(dialog, "bnOk")->click();

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(settings_.Written, (std::vector<std::string>{"Cardback\\Type0", "Cardback\\Color0",
                                                           "Cardback\\Type1", "Cardback\\Pattern1"}));
    EXPECT_EQ(settings_.ReadInt("Cardback\\Pattern1", -1), 7);
    EXPECT_EQ(settings_.ReadInt("Cardback\\Color0", -1), 0x00FF0000);
}

TEST_F(DeckDialogTest, CancelStoresNothingAndApplyStoresAppliesAndDisablesItself)
{
    std::vector<CardBackSettings> applied;
    {
        DeckDialog dialog(settings_, [&](const CardBackSettings& backs) { applied.push_back(backs); });
        dialog.show();
        Radio(dialog, "rgCardbackType", 1)->click();
        Button(dialog, "bnCancel")->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    EXPECT_TRUE(settings_.Written.empty());
    EXPECT_TRUE(applied.empty());

    DeckDialog dialog(settings_, [&](const CardBackSettings& backs) { applied.push_back(backs); });
    dialog.show();
    Radio(dialog, "rgCardbackType", 1)->click();
    Button(dialog, "bnApply")->click();
    EXPECT_FALSE(Button(dialog, "bnApply")->isEnabled());
    ASSERT_EQ(applied.size(), 1u);
    EXPECT_EQ(applied[0][0].backType, PatternBack);
    EXPECT_EQ(settings_.ReadInt("Cardback\\Type0", -1), 1);
    EXPECT_EQ(settings_.ReadInt("Cardback\\Color1", -1), 16512);
}

TEST_F(DeckDialogTest, ChangeChoosesAColourOrAPictureAndRefusesAnUnreadablePicture)
{
    DeckDialog dialog(settings_, {});
    dialog.show();
    WhenModalOpens([](QWidget* modal) {
        auto* colours = qobject_cast<QColorDialog*>(modal);
        ASSERT_NE(colours, nullptr);
        EXPECT_EQ(colours->currentColor(), QColor(128, 0, 0));
        colours->setCurrentColor(QColor(0, 0, 255));
        colours->accept();
    });
    Button(dialog, "bnChange")->click();
    EXPECT_TRUE(Button(dialog, "bnApply")->isEnabled());
    EXPECT_EQ(PreviewCentre(dialog), QColor(0, 0, 255));

    // A cancelled pattern choice keeps the pattern.
    Radio(dialog, "rgCardbackType", 1)->click();
    WhenModalOpens([](QWidget* modal) {
        auto* chooser = qobject_cast<PatternDialog*>(modal);
        ASSERT_NE(chooser, nullptr);
        Release(chooser->findChild<QWidget*>(QStringLiteral("pnPatterns")), Qt::LeftButton,
                chooser->imageRect(3).center());
        chooser->reject();
    });
    Button(dialog, "bnChange")->click();
    EXPECT_EQ(dialog.cardBacks()[0].backPattern, 0);

    Radio(dialog, "rgCardbackType", 2)->click();
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(QColor(0, 200, 0));
    ASSERT_TRUE(picture.save(temp_.filePath(QStringLiteral("green.bmp")), "BMP"));
    fileAnswer_ = temp_.filePath(QStringLiteral("green"));  // typed without the extension
    Button(dialog, "bnChange")->click();
    ASSERT_EQ(requests_.size(), 1u);
    EXPECT_EQ(requests_[0].kind, prompts::Kind::OpenFile);
    EXPECT_EQ(dialog.cardBacks()[0].backFile, temp_.filePath(QStringLiteral("green.bmp")));
    EXPECT_EQ(PreviewCentre(dialog), QColor(0, 200, 0));

    fileAnswer_ = temp_.filePath(QStringLiteral("nothing.bmp"));
    Button(dialog, "bnChange")->click();
    ASSERT_EQ(requests_.size(), 3u);
    EXPECT_EQ(requests_[2].kind, prompts::Kind::Warning);
    EXPECT_EQ(dialog.cardBacks()[0].backFile, temp_.filePath(QStringLiteral("green.bmp")));

    Button(dialog, "bnOk")->click();
    EXPECT_EQ(settings_.ReadInt("Cardback\\Type0", -1), 2);
    EXPECT_EQ(settings_.ReadString("Cardback\\Filename0", ""), temp_.filePath(QStringLiteral("green.bmp")).toStdString());
    EXPECT_EQ(settings_.ReadInt("Cardback\\Color0", -1), -1);  // the colour belongs to a type not chosen
}

TEST_F(DeckDialogTest, ThePatternChooserSelectsOnlyOnALeftReleaseInsideAnImage)
{
    PatternImages images;
    for (int i = 0; i < PatternCount; ++i)
        images[i] = drawPatternBack(i, QSize(53, 81), 1.0);
    PatternDialog chooser(images, 4, nullptr);
    QWidget* area = chooser.findChild<QWidget*>(QStringLiteral("pnPatterns"));
    ASSERT_NE(area, nullptr);
    chooser.show();
    const struct {
        Qt::MouseButton button;
        QPoint at;
        int selected;
    } releases[] = {
        {Qt::LeftButton, {58, 10}, 4},   // just right of image 0
        {Qt::LeftButton, {10, 86}, 4},   // just below image 0
        {Qt::RightButton, {10, 10}, 4},
        {Qt::LeftButton, {57, 85}, 0},   // last pixel of image 0
        {Qt::LeftButton, {63, 91}, 6},   // first pixel of image 6
    };
    for (const auto& r : releases) {
        Release(area, r.button, r.at);
        EXPECT_EQ(chooser.selected(), r.selected) << r.at.x() << "," << r.at.y();
    }
}

}  // namespace
}  // namespace meldora
