#include "table/deck_dialog.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "core/settings_access.h"
#include "table/card_images.h"
#include "table/prompts.h"

namespace meldora {

namespace {

// The preview and the pattern chooser always show the 800 x 600 card size.
constexpr int kPreviewSizeIndex = 1;

void setHelpContext(QWidget* widget, int context)
{
    widget->setProperty("HelpContext", context);
}

QGroupBox* radioGroup(const char* name, const QString& caption, const QStringList& items, QButtonGroup** group)
{
    auto* box = new QGroupBox(caption);
    box->setObjectName(QLatin1String(name));
    auto* layout = new QVBoxLayout(box);
    *group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i]);
        button->setObjectName(QStringLiteral("%1Item%2").arg(QLatin1String(name)).arg(i));
        (*group)->addButton(button, i);
        layout->addWidget(button);
    }
    return box;
}

QPushButton* makeButton(const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(QLatin1String(name));
    return button;
}

}  // namespace

DeckDialog::DeckDialog(SettingsAccess& settings, ApplyFunction applyCardBacks, QWidget* parent)
    : QDialog(parent), settings_(settings), applyCardBacks_(std::move(applyCardBacks))
{
    setObjectName(QStringLiteral("fmDeck"));
    setWindowTitle(QStringLiteral("Select Card Back"));

    deckGroup_ = radioGroup("rgDeck", QStringLiteral("Select Deck"),
                            {QStringLiteral("Deck One"), QStringLiteral("Deck Two")}, &deckItems_);
    backTypeGroup_ = radioGroup(
        "rgCardbackType", QStringLiteral("Cardback Type"),
        {QStringLiteral("&Solid Color"), QStringLiteral("S&tandard Pattern"), QStringLiteral("C&ustom Pattern")},
        &typeItems_);

    currentBackBox_ = new QGroupBox(QStringLiteral("Current Cardback"));
    currentBackBox_->setObjectName(QStringLiteral("gbCurrentCardback"));
    backPreview_ = new QLabel;
    backPreview_->setObjectName(QStringLiteral("imCardback"));
    backPreview_->setFixedSize(cardSizeOf(kPreviewSizeIndex));
    changeButton_ = makeButton("bnChange", QStringLiteral("&Change..."));
    auto* previewLayout = new QVBoxLayout(currentBackBox_);
    previewLayout->addWidget(backPreview_, 0, Qt::AlignHCenter);
    previewLayout->addWidget(changeButton_);

    okButton_ = makeButton("bnOk", QStringLiteral("OK"));
    okButton_->setDefault(true);
    cancelButton_ = makeButton("bnCancel", QStringLiteral("Cancel"));
    applyButton_ = makeButton("bnApply", QStringLiteral("&Apply"));

    auto* choices = new QVBoxLayout;
    choices->addWidget(deckGroup_);
    choices->addWidget(backTypeGroup_);
    choices->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(choices);
    top->addWidget(currentBackBox_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    buttons->addWidget(applyButton_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setHelpContext(currentBackBox_, 1018);
    setHelpContext(okButton_, 1019);
    setHelpContext(cancelButton_, 1020);
    setHelpContext(applyButton_, 1021);
    setHelpContext(backTypeGroup_, 1022);
    setHelpContext(changeButton_, 1023);
    setHelpContext(deckGroup_, 1084);

    const qreal ratio = devicePixelRatioF();
    for (int pattern = 0; pattern < PatternCount; ++pattern)
        patternImages_[pattern] = drawPatternBack(pattern, cardSizeOf(kPreviewSizeIndex), ratio);

    backs_ = readCardBacks(settings_);
    deckItems_->button(0)->setChecked(true);
    typeItems_->button(backs_[deck_].backType)->setChecked(true);
    drawPreview();

    connect(deckItems_, &QButtonGroup::idClicked, this, &DeckDialog::selectDeck);
    connect(typeItems_, &QButtonGroup::idClicked, this, &DeckDialog::selectBackType);
    connect(changeButton_, &QPushButton::clicked, this, &DeckDialog::changeCardBack);
    connect(okButton_, &QPushButton::clicked, this, &DeckDialog::saveAndAccept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(applyButton_, &QPushButton::clicked, this, &DeckDialog::applyAndKeepOpen);
}

void DeckDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        applyButton_->setEnabled(false);
}

void DeckDialog::selectDeck(int deck)
{
    deck_ = deck;
    typeItems_->button(backs_[deck_].backType)->setChecked(true);
    drawPreview();
    applyButton_->setEnabled(true);
}

void DeckDialog::selectBackType(int type)
{
    backs_[deck_].backType = type;
    drawPreview();
    applyButton_->setEnabled(true);
}

void DeckDialog::changeCardBack()
{
    CardBack& back = backs_[deck_];
    switch (back.backType) {
    case SolidBack: chooseColor(back); break;
    case PatternBack: choosePattern(back); break;
    default: chooseFile(back); break;
    }
    drawPreview();
    applyButton_->setEnabled(true);
}

void DeckDialog::chooseColor(CardBack& back)
{
    QColorDialog dialog(colorFromSetting(back.backColor), this);
    if (dialog.exec() == QDialog::Accepted)
        back.backColor = settingFromColor(dialog.selectedColor());
}

void DeckDialog::choosePattern(CardBack& back)
{
    PatternDialog dialog(patternImages_, back.backPattern, this);
    if (dialog.exec() == QDialog::Accepted)
        back.backPattern = dialog.selected();
}

void DeckDialog::chooseFile(CardBack& back)
{
    const QString startIn = back.backFile.isEmpty() ? QString() : QFileInfo(back.backFile).absolutePath();
    QString file = prompts::openFileName(this, QStringLiteral("Open"), startIn, QStringLiteral("Bitmaps (*.bmp)"));
    if (file.isEmpty())
        return;
    // A name typed without an extension means a bitmap.
    if (QFileInfo(file).suffix().isEmpty() && !QFileInfo::exists(file))
        file += QStringLiteral(".bmp");
    if (loadPictureBack(file, cardSizeOf(kPreviewSizeIndex), devicePixelRatioF()).isNull()) {
        prompts::warning(this, QStringLiteral("\"%1\" is not a picture that can be read. The card back is not "
                                              "changed.")
                                   .arg(file));
        return;
    }
    back.backFile = file;
}

void DeckDialog::drawPreview()
{
    const CardBack& back = backs_[deck_];
    const QSize size = cardSizeOf(kPreviewSizeIndex);
    const qreal ratio = devicePixelRatioF();
    QPixmap picture;
    switch (back.backType) {
    case SolidBack: picture = drawSolidBack(back.backColor, size, ratio); break;
    case PatternBack: picture = patternImages_[back.backPattern]; break;
    default: picture = loadPictureBack(back.backFile, size, ratio); break;
    }
    QPixmap preview(size * ratio);
    preview.setDevicePixelRatio(ratio);
    preview.fill(palette().color(QPalette::Button));
    if (!picture.isNull()) {
        QPainter painter(&preview);
        painter.drawPixmap(0, 0, picture);
    }
    backPreview_->setPixmap(preview);
}

void DeckDialog::saveAndAccept()
{
    writeCardBacks(settings_, backs_);
    accept();
}

void DeckDialog::applyAndKeepOpen()
{
    writeCardBacks(settings_, backs_);
    if (applyCardBacks_)
        applyCardBacks_(backs_);
    applyButton_->setEnabled(false);
}

}  // namespace meldora
