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

class DeckDialog : public QDialog {
    Q_OBJECT

public:
    // applyCardBacks puts the backs on the table at once; Apply calls it.
    using ApplyFunction = std::function<void(const CardBackSettings&)>;

    DeckDialog(SettingsAccess& settings, ApplyFunction applyCardBacks, QWidget* parent = nullptr);

    // Both backs as the dialog holds them; after OK, the ones to put on the table.
    const CardBackSettings& cardBacks() const { return backs_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void selectDeck(int deck);
    void selectBackType(int type);
    void changeCardBack();
    void saveAndAccept();
    void applyAndKeepOpen();
    void chooseColor(CardBack& back);
    void choosePattern(CardBack& back);
    void chooseFile(CardBack& back);
    void drawPreview();

    SettingsAccess& settings_;
    ApplyFunction applyCardBacks_;
    CardBackSettings backs_;
    int deck_ = 0;
    PatternImages patternImages_;

    QGroupBox* deckGroup_ = nullptr;
    QGroupBox* backTypeGroup_ = nullptr;
    QButtonGroup* deckItems_ = nullptr;
    QButtonGroup* typeItems_ = nullptr;
    QGroupBox* currentBackBox_ = nullptr;
    QLabel* backPreview_ = nullptr;
    QPushButton* changeButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QPushButton* applyButton_ = nullptr;
};

}  // namespace meldora
