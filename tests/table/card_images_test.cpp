// Card faces and backs, their lookup by resource name on the offscreen platform,
// and the Deck dialog with its pattern chooser that choose the backs: what OK and
// Apply store, what Cancel leaves alone, and the choosers behind Change.
#include <gtest/gtest.h>

#include <QColorDialog>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <set>

#include "core/layout.h"
#include "support/gui_app.h"
#include "support/memory_settings.h"
#include "support/scripted_prompts.h"
#include "support/widgets.h"
#include "table/card_images.h"
#include "table/deck_dialog.h"
#include "table/pattern_dialog.h"

namespace meldora {
namespace {

using test::Child;
using test::WhenModalOpens;

QImage Pixels(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// Share of the picture that is opaque and clearly not the white card ground.
double InkShare(const QPixmap& pixmap)
{
    const QImage image = Pixels(pixmap);
    int ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() > 200 && (c.red() < 180 || c.green() < 180 || c.blue() < 180))
                ++ink;
        }
    return double(ink) / (image.width() * image.height());
}

QColor Centre(const QPixmap& pixmap)
{
    const QImage image = Pixels(pixmap);
    return image.pixelColor(image.width() / 2, image.height() / 2);
}

// The 52 faces and the joker carry ink, have rounded corners and are all different.
void ExpectFacesInkedAndDistinct(const CardImages& images)
{
    std::set<QByteArray> seen;
    for (int index = 0; index <= JokerImage; ++index) {
        const QImage pixels = Pixels(images.image(index));
        EXPECT_GT(InkShare(images.image(index)), 0.01) << "image " << index;
        EXPECT_EQ(pixels.pixelColor(0, 0).alpha(), 0) << "rounded corner of image " << index;
        seen.insert(QByteArray(reinterpret_cast<const char*>(pixels.constBits()), pixels.sizeInBytes()));
    }
    EXPECT_EQ(seen.size(), 53u);
}

CardBackSettings SolidBacks()
{
    CardBackSettings backs;
    backs[0].backColor = 128;
    backs[1].backColor = 16512;
    return backs;
}

// A deck of plain rectangles, one colour per card, named as installed decks name them.
QColor TestColour(int id)
{
    return QColor(id * 4, 255 - id * 4, 90);
}

void WriteTestDeck(const QString& folder, bool withJoker)
{
    static const char* const suits[] = {"spade", "club", "diamond", "heart"};
    static const char* const ranks[] = {"2", "3", "4", "5", "6", "7", "8", "9", "10", "jack", "queen", "king", "1"};
    QString svg = QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"2000\" height=\"400\">\n");
    for (int suit = 0; suit < 4; ++suit)
        for (int face = 0; face < 13; ++face) {
            const int id = suit * 13 + face + 1;
            svg += QStringLiteral("<rect id=\"%1_%2\" x=\"%3\" y=\"%4\" width=\"30\" height=\"46\" fill=\"%5\"/>\n")
                       .arg(QLatin1String(ranks[face]), QLatin1String(suits[suit]))
                       .arg(face * 40)
                       .arg(suit * 60)
                       .arg(TestColour(id).name());
        }
    if (withJoker)
        svg += QStringLiteral("<rect id=\"red_joker\" x=\"0\" y=\"300\" width=\"30\" height=\"46\" fill=\"#0000ff\"/>\n");
    svg += QStringLiteral("</svg>\n");
    QFile file(folder + QStringLiteral("/deck.svg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(svg.toUtf8());
}

class CardImagesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::EnsureGuiApplication();
        ASSERT_TRUE(temp_.isValid());
        qputenv("MELDORA_HOME", temp_.path().toUtf8());
    }

    QString Folder(const QString& name)
    {
        QDir(temp_.path()).mkpath(name);
        return temp_.filePath(name);
    }

    QTemporaryDir temp_;
    test::RecordingSettings settings_;
    test::ScriptedPrompts prompts_;
    std::vector<prompts::Request>& requests_ = prompts_.asked;
};

TEST_F(CardImagesTest, ImagesAndResourceNamesHaveTheCardSizeOfTheirClassTimesTheRatio)
{
    CardImages images(Folder(QStringLiteral("no-decks")));
    const char* const sizeCodes[] = {"640", "800", "1024", "1024"};
    for (int sizeIndex = 0; sizeIndex < 4; ++sizeIndex) {
        images.prepare(sizeIndex, 2.0, SolidBacks());
        const QSize card(SizeClasses[sizeIndex].CardWidth, SizeClasses[sizeIndex].CardHeight);
        EXPECT_EQ(images.cardSize(), card);
        for (int index = 0; index < CardImageCount; ++index)
            EXPECT_EQ(images.image(index).size(), card * 2) << "image " << index << " class " << sizeIndex;
        for (const QString& stem : {QStringLiteral("joker"), QString::fromStdString(CardName(3, 12).Name), patternName(4)}) {
            const QPixmap picture = images.resource(stem + QLatin1String(sizeCodes[sizeIndex]), 2.0);
            EXPECT_EQ(picture.deviceIndependentSize().toSize(), card) << stem.toStdString() << sizeIndex;
            EXPECT_EQ(picture.size(), card * 2);
        }
    }
    EXPECT_FALSE(images.resource(QStringLiteral("HeartV800"), 1).isNull());
    for (const char* wrong : {"heartx800", "heart800", "joker", "joker1280", "spade1900", ""})
        EXPECT_TRUE(images.resource(QLatin1String(wrong), 1).isNull()) << wrong;
    EXPECT_THROW(images.prepare(4, 1, SolidBacks()), std::out_of_range);
    EXPECT_THROW(images.image(55), std::out_of_range);
}

TEST_F(CardImagesTest, DeckElementsAreFoundByTheirNamesAndAMissingJokerIsDrawn)
{
    const QString withJoker = Folder(QStringLiteral("decks/svg-test"));
    WriteTestDeck(withJoker, true);
    CardImages images(temp_.filePath(QStringLiteral("decks")));
    EXPECT_EQ(images.deckFile(), withJoker + QStringLiteral("/deck.svg"));
    images.prepare(1, 1.0, SolidBacks());
    for (int id = 1; id <= 52; ++id)
        EXPECT_EQ(Centre(images.face(MakeCard(id, 0))), TestColour(id)) << "card " << id;
    EXPECT_EQ(Centre(images.image(JokerImage)), QColor(Qt::blue));

    const QString noJoker = Folder(QStringLiteral("plain"));
    WriteTestDeck(noJoker, false);
    CardImages drawnJoker(noJoker);
    drawnJoker.prepare(1, 1.0, SolidBacks());
    EXPECT_EQ(Centre(drawnJoker.face(MakeCard(1, 0))), TestColour(1));
    EXPECT_GT(InkShare(drawnJoker.image(JokerImage)), 0.03);
}

TEST_F(CardImagesTest, WithoutAUsableDeckTheFacesAreDrawn)
{
    QFile garbage(Folder(QStringLiteral("broken/svg-bad")) + QStringLiteral("/bad.svgz"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a picture at all");
    garbage.close();
    const QString empty = Folder(QStringLiteral("empty"));
    qputenv("MELDORA_CARD_DECK_DIR", empty.toUtf8());
    EXPECT_EQ(defaultCardDeckDir(), empty);

    for (const QString& dir : {empty, temp_.filePath(QStringLiteral("broken")), temp_.filePath(QStringLiteral("gone"))}) {
        CardImages images(dir);
        EXPECT_TRUE(images.deckFile().isEmpty());
        images.prepare(0, 2.0, SolidBacks());
        ExpectFacesInkedAndDistinct(images);
    }
    CardImages fromEnvironment;
    EXPECT_TRUE(fromEnvironment.deckFile().isEmpty());
    qunsetenv("MELDORA_CARD_DECK_DIR");
}

TEST_F(CardImagesTest, BacksAreSolidOrPatternedWithTransparentCorners)
{
    CardImages images(Folder(QStringLiteral("no-decks")));
    for (qreal ratio : {1.0, 1.5, 2.0}) {
        images.prepare(2, ratio, SolidBacks());
        for (int deck = 0; deck < 2; ++deck) {
            const QImage back = Pixels(images.back(deck));
            const int w = back.width(), h = back.height();
            for (QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
                EXPECT_EQ(back.pixelColor(corner).alpha(), 0) << "deck " << deck << " ratio " << ratio;
            EXPECT_EQ(back.pixelColor(w / 2, 0).alpha(), 255);
        }
        EXPECT_EQ(Centre(images.back(0)), QColor(128, 0, 0));
        EXPECT_EQ(Centre(images.back(1)), QColor(128, 64, 0));
    }
    CardRecord card = MakeCard(5, 1);
    EXPECT_EQ(images.picture(card).cacheKey(), images.back(1).cacheKey());
    card.FaceUp = true;
    EXPECT_EQ(images.picture(card).cacheKey(), images.face(card).cacheKey());

    CardBackSettings backs = SolidBacks();
    backs[1].backType = PatternBack;
    backs[1].backPattern = 8;
    images.prepare(3, 1.0, backs);
    EXPECT_EQ(Pixels(images.back(1)), Pixels(drawPatternBack(8, QSize(67, 104), 1.0)));
    EXPECT_EQ(Centre(images.back(0)), QColor(128, 0, 0));
}

// Magenta in a picture is transparent: a framed picture shows only its middle.
TEST_F(CardImagesTest, APictureBackIsStretchedAndAnUnreadableOneFallsBackWithOneWarning)
{
    const QString picturePath = temp_.filePath(QStringLiteral("framed.bmp"));
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 255));
    for (int y = 4; y < 12; ++y)
        for (int x = 4; x < 12; ++x)
            picture.setPixelColor(x, y, QColor(0, 0, 200));
    ASSERT_TRUE(picture.save(picturePath, "BMP"));

    CardImages images(Folder(QStringLiteral("no-decks")));
    CardBackSettings backs = SolidBacks();
    backs[0].backType = FileBack;
    backs[0].backFile = picturePath;
    images.prepare(1, 2.0, backs);
    EXPECT_TRUE(requests_.empty());
    const QImage back = Pixels(images.back(0));
    EXPECT_EQ(back.pixelColor(3, 3).alpha(), 0);
    EXPECT_EQ(back.pixelColor(back.width() - 4, back.height() - 4).alpha(), 0);
    EXPECT_EQ(Centre(images.back(0)), QColor(0, 0, 200));

    const QString missing = temp_.filePath(QStringLiteral("missing.bmp"));
    backs[0].backFile = missing;
    backs[1].backType = FileBack;
    backs[1].backFile = missing;
    images.prepare(1, 1.0, backs);
    images.prepare(2, 1.0, backs);
    ASSERT_EQ(requests_.size(), 1u);
    EXPECT_EQ(requests_[0].kind, prompts::Kind::Warning);
    EXPECT_TRUE(requests_[0].text.contains(missing));
    EXPECT_EQ(Centre(images.back(0)), QColor(128, 0, 0));
    EXPECT_EQ(Centre(images.back(1)), QColor(128, 64, 0));

    // No picture chosen yet is no fault.
    backs[0].backFile.clear();
    backs[1].backFile.clear();
    images.prepare(2, 1.0, backs);
    EXPECT_EQ(requests_.size(), 1u);
}

TEST(CardBackSettingsTest, ReadsDefaultsAndRepairsBadValues)
{
    test::MemorySettings settings;
    CardBackSettings backs = readCardBacks(settings);
    EXPECT_EQ(backs[0], (CardBack{SolidBack, 128, QString(), 0}));
    EXPECT_EQ(backs[1], (CardBack{SolidBack, 16512, QString(), 0}));

    settings.WriteValue("Cardback\\Type0", 7);
    settings.WriteValue("Cardback\\Pattern0", 10);
    settings.WriteValue("Cardback\\Color0", std::string("red"));
    settings.WriteValue("Cardback\\Type1", 2);
    settings.WriteValue("Cardback\\Filename1", std::string("/pictures/back.bmp"));
    settings.WriteValue("Cardback\\Pattern1", 9);
    backs = readCardBacks(settings);
    EXPECT_EQ(backs[0], (CardBack{SolidBack, 128, QString(), 0}));
    EXPECT_EQ(backs[1], (CardBack{FileBack, 16512, QStringLiteral("/pictures/back.bmp"), 9}));

    EXPECT_EQ(colorFromSetting(0x00FF8040), QColor(0x40, 0x80, 0xFF));
    EXPECT_EQ(settingFromColor(QColor(0x40, 0x80, 0xFF)), 0x00FF8040u);
}

void Release(QWidget* widget, Qt::MouseButton button, QPoint at)
{
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), widget->mapToGlobal(QPointF(at)), button,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

class DeckDialogTest : public CardImagesTest {
protected:
    static QRadioButton* Radio(const QWidget& d, const char* group, int item)
    {
        return Child<QRadioButton>(d, QStringLiteral("%1Item%2").arg(QLatin1String(group)).arg(item));
    }
    static QPushButton* Button(const QWidget& d, const char* name) { return Child<QPushButton>(d, name); }
    static QColor PreviewCentre(const QWidget& d) { return Centre(Child<QLabel>(d, "imCardback")->pixmap()); }
    // Picks a pattern in the chooser the next blocking call opens, then closes it with OK or Cancel.
    static void ChoosePattern(int pattern, bool ok)
    {
        WhenModalOpens([pattern, ok](QWidget& modal) {
            auto* chooser = qobject_cast<PatternDialog*>(&modal);
            ASSERT_NE(chooser, nullptr);
            Release(Child<QWidget>(*chooser, "pnPatterns"), Qt::LeftButton, chooser->imageRect(pattern).center());
            if (ok)
                Child<QPushButton>(*chooser, "bnOk")->click();
            else
                chooser->reject();
        });
    }
};

TEST_F(DeckDialogTest, OkAfterChangingDeckTwoStoresBothTypesAndOnlyTheValuesOfThoseTypes)
{
    settings_.WriteValue("Cardback\\Type0", 0);
    settings_.WriteValue("Cardback\\Color0", 0x00FF0000);
    settings_.WriteValue("Cardback\\Type1", 1);
    settings_.Written.clear();
    DeckDialog dialog(settings_, {});
    EXPECT_TRUE(Radio(dialog, "rgDeck", 0)->isChecked());
    EXPECT_TRUE(Radio(dialog, "rgCardbackType", 0)->isChecked());
    EXPECT_EQ(PreviewCentre(dialog), QColor(0, 0, 255));

    dialog.show();
    EXPECT_FALSE(Button(dialog, "bnApply")->isEnabled());
    Radio(dialog, "rgDeck", 1)->click();
    EXPECT_TRUE(Radio(dialog, "rgCardbackType", 1)->isChecked());
    // Deck two's pattern was never stored: the beach, as on the table.
    EXPECT_EQ(PreviewCentre(dialog), Pixels(drawPatternBack(0, QSize(53, 81), 1.0)).pixelColor(26, 40));
    ChoosePattern(7, true);
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
    WhenModalOpens([](QWidget& modal) {
        auto* colours = qobject_cast<QColorDialog*>(&modal);
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
    ChoosePattern(3, false);
    Button(dialog, "bnChange")->click();
    EXPECT_EQ(dialog.cardBacks()[0].backPattern, 0);

    Radio(dialog, "rgCardbackType", 2)->click();
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(QColor(0, 200, 0));
    ASSERT_TRUE(picture.save(temp_.filePath(QStringLiteral("green.bmp")), "BMP"));
    prompts_.answer = temp_.filePath(QStringLiteral("green"));  // typed without the extension
    Button(dialog, "bnChange")->click();
    ASSERT_EQ(requests_.size(), 1u);
    EXPECT_EQ(requests_[0].kind, prompts::Kind::OpenFile);
    EXPECT_EQ(dialog.cardBacks()[0].backFile, temp_.filePath(QStringLiteral("green.bmp")));
    EXPECT_EQ(PreviewCentre(dialog), QColor(0, 200, 0));

    prompts_.answer = temp_.filePath(QStringLiteral("nothing.bmp"));
    Button(dialog, "bnChange")->click();
    ASSERT_EQ(requests_.size(), 3u);
    EXPECT_EQ(requests_[2].kind, prompts::Kind::Warning);
    EXPECT_EQ(dialog.cardBacks()[0].backFile, temp_.filePath(QStringLiteral("green.bmp")));

    Button(dialog, "bnOk")->click();
    EXPECT_EQ(settings_.ReadInt("Cardback\\Type0", -1), 2);
    EXPECT_EQ(settings_.ReadString("Cardback\\Filename0", ""), temp_.filePath(QStringLiteral("green.bmp")).toStdString());
    EXPECT_EQ(settings_.ReadInt("Cardback\\Color0", -1), -1);  // the colour belongs to a type not chosen
}

}  // namespace
}  // namespace meldora
