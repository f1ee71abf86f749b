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

void SetHelpContext(QWidget* widget, int context)
{
    widget->setProperty("HelpContext", context);
}

QGroupBox* RadioGroup(const char* name, const QString& caption, const QStringList& items, QButtonGroup** group)
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

QPushButton* Button(const char* name, const QString& caption)
{
    auto* button = new QPushButton(caption);
    button->setObjectName(QLatin1String(name));
    return button;
}

}  // namespace

TfmDeck::TfmDeck(SettingsAccess& settings, ApplyFunction applyCardBacks, QWidget* parent)
    : QDialog(parent), settings_(settings), applyCardBacks_(std::move(applyCardBacks))
{
    setObjectName(QStringLiteral("fmDeck"));
    setWindowTitle(QStringLiteral("Select Card Back"));

    rgDeck = RadioGroup("rgDeck", QStringLiteral("Select Deck"), {QStringLiteral("Deck One"), QStringLiteral("Deck Two")},
                        &deckItems_);
    rgCardbackType = RadioGroup("rgCardbackType", QStringLiteral("Cardback Type"),
                                {QStringLiteral("&Solid Color"), QStringLiteral("S&tandard Pattern"),
                                 QStringLiteral("C&ustom Pattern")},
                                &typeItems_);

    gbCurrentCardback = new QGroupBox(QStringLiteral("Current Cardback"));
    gbCurrentCardback->setObjectName(QStringLiteral("gbCurrentCardback"));
    imCardback = new QLabel;
    imCardback->setObjectName(QStringLiteral("imCardback"));
    imCardback->setFixedSize(CardSizeOf(kPreviewSizeIndex));
    bnChange = Button("bnChange", QStringLiteral("&Change..."));
    auto* previewLayout = new QVBoxLayout(gbCurrentCardback);
    previewLayout->addWidget(imCardback, 0, Qt::AlignHCenter);
    previewLayout->addWidget(bnChange);

    bnOk = Button("bnOk", QStringLiteral("OK"));
    bnOk->setDefault(true);
    bnCancel = Button("bnCancel", QStringLiteral("Cancel"));
    bnApply = Button("bnApply", QStringLiteral("&Apply"));

    auto* choices = new QVBoxLayout;
    choices->addWidget(rgDeck);
    choices->addWidget(rgCardbackType);
    choices->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addLayout(choices);
    top->addWidget(gbCurrentCardback);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(bnOk);
    buttons->addWidget(bnCancel);
    buttons->addWidget(bnApply);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    SetHelpContext(gbCurrentCardback, 1018);
    SetHelpContext(bnOk, 1019);
    SetHelpContext(bnCancel, 1020);
    SetHelpContext(bnApply, 1021);
    SetHelpContext(rgCardbackType, 1022);
    SetHelpContext(bnChange, 1023);
    SetHelpContext(rgDeck, 1084);

    const qreal ratio = devicePixelRatioF();
    for (int pattern = 0; pattern < PatternCount; ++pattern)
        ilBacks[pattern] = DrawPatternBack(pattern, CardSizeOf(kPreviewSizeIndex), ratio);

    backs_ = ReadCardBacks(settings_);
    deckItems_->button(0)->setChecked(true);
    typeItems_->button(backs_[deck_].BackType)->setChecked(true);
    DrawPreview();

    connect(deckItems_, &QButtonGroup::idClicked, this, &TfmDeck::rgDeckClick);
    connect(typeItems_, &QButtonGroup::idClicked, this, &TfmDeck::rgCardbackTypeClick);
    connect(bnChange, &QPushButton::clicked, this, &TfmDeck::bnChangeClick);
    connect(bnOk, &QPushButton::clicked, this, &TfmDeck::bnOkClick);
    connect(bnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(bnApply, &QPushButton::clicked, this, &TfmDeck::bnApplyClick);
}

void TfmDeck::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        bnApply->setEnabled(false);
}

void TfmDeck::rgDeckClick(int deck)
{
    deck_ = deck;
    typeItems_->button(backs_[deck_].BackType)->setChecked(true);
    DrawPreview();
    bnApply->setEnabled(true);
}

void TfmDeck::rgCardbackTypeClick(int type)
{
    backs_[deck_].BackType = type;
    DrawPreview();
    bnApply->setEnabled(true);
}

void TfmDeck::bnChangeClick()
{
    CardBack& back = backs_[deck_];
    switch (back.BackType) {
    case SolidBack: ChooseColor(back); break;
    case PatternBack: ChoosePattern(back); break;
    default: ChooseFile(back); break;
    }
    DrawPreview();
    bnApply->setEnabled(true);
}

void TfmDeck::ChooseColor(CardBack& back)
{
    QColorDialog dialog(ColorFromSetting(back.BackColor), this);
    if (dialog.exec() == QDialog::Accepted)
        back.BackColor = SettingFromColor(dialog.selectedColor());
}

void TfmDeck::ChoosePattern(CardBack& back)
{
    TfmPattern dialog(ilBacks, back.BackPattern, this);
    if (dialog.exec() == QDialog::Accepted)
        back.BackPattern = dialog.Selected();
}

void TfmDeck::ChooseFile(CardBack& back)
{
    const QString startIn = back.BackFile.isEmpty() ? QString() : QFileInfo(back.BackFile).absolutePath();
    QString file = prompts::OpenFileName(this, QStringLiteral("Open"), startIn, QStringLiteral("Bitmaps (*.bmp)"));
    if (file.isEmpty())
        return;
    // A name typed without an extension means a bitmap.
    if (QFileInfo(file).suffix().isEmpty() && !QFileInfo::exists(file))
        file += QStringLiteral(".bmp");
    if (LoadPictureBack(file, CardSizeOf(kPreviewSizeIndex), devicePixelRatioF()).isNull()) {
        prompts::Warning(this, QStringLiteral("\"%1\" is not a picture that can be read. The card back is not "
                                              "changed.")
                                   .arg(file));
        return;
    }
    back.BackFile = file;
}

void TfmDeck::DrawPreview()
{
    const CardBack& back = backs_[deck_];
    const QSize size = CardSizeOf(kPreviewSizeIndex);
    const qreal ratio = devicePixelRatioF();
    QPixmap picture;
    switch (back.BackType) {
    case SolidBack: picture = DrawSolidBack(back.BackColor, size, ratio); break;
    case PatternBack: picture = ilBacks[back.BackPattern]; break;
    default: picture = LoadPictureBack(back.BackFile, size, ratio); break;
    }
    QPixmap preview(size * ratio);
    preview.setDevicePixelRatio(ratio);
    preview.fill(palette().color(QPalette::Button));
    if (!picture.isNull()) {
        QPainter painter(&preview);
        painter.drawPixmap(0, 0, picture);
    }
    imCardback->setPixmap(preview);
}

void TfmDeck::bnOkClick()
{
    WriteCardBacks(settings_, backs_);
    accept();
}

void TfmDeck::bnApplyClick()
{
    WriteCardBacks(settings_, backs_);
    if (applyCardBacks_)
        applyCardBacks_(backs_);
    bnApply->setEnabled(false);
}

}  // namespace meldora
