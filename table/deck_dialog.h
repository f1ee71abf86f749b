// The Deck dialog: chooses the back of each of the two decks (a solid colour, a
// standard pattern or a picture file) with a preview. Created for one modal showing;
// OK and Apply store both backs in the settings store.
#pragma once

#include <QDialog>
#include <functional>

#include "table/card_backs.h"
#include "table/pattern_dialog.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;

namespace meldora {

class SettingsAccess;

class TfmDeck : public QDialog {
    Q_OBJECT

public:
    // applyCardBacks puts the backs on the table at once; Apply calls it.
    using ApplyFunction = std::function<void(const CardBackSettings&)>;

    TfmDeck(SettingsAccess& settings, ApplyFunction applyCardBacks, QWidget* parent = nullptr);

    // Both backs as the dialog holds them; after OK, the ones to put on the table.
    const CardBackSettings& CardBacks() const { return backs_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void rgDeckClick(int deck);
    void rgCardbackTypeClick(int type);
    void bnChangeClick();
    void bnOkClick();
    void bnApplyClick();
    void ChooseColor(CardBack& back);
    void ChoosePattern(CardBack& back);
    void ChooseFile(CardBack& back);
    void DrawPreview();

    SettingsAccess& settings_;
    ApplyFunction applyCardBacks_;
    CardBackSettings backs_;
    int deck_ = 0;
    PatternImages ilBacks;

    QGroupBox* rgDeck = nullptr;
    QGroupBox* rgCardbackType = nullptr;
    QButtonGroup* deckItems_ = nullptr;
    QButtonGroup* typeItems_ = nullptr;
    QGroupBox* gbCurrentCardback = nullptr;
    QLabel* imCardback = nullptr;
    QPushButton* bnChange = nullptr;
    QPushButton* bnOk = nullptr;
    QPushButton* bnCancel = nullptr;
    QPushButton* bnApply = nullptr;
};

}  // namespace meldora
