// The Rules dialog: the thirteen rule options on four pages, with the "Hoyle Rules"
// preset. Created for one modal showing; OK stores the options in the settings store
// before the main window reads them back with options().
#pragma once

#include <QDialog>

#include "core/rule_options.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace meldora {

class SettingsAccess;

class RulesDialog : public QDialog {
    Q_OBJECT

public:
    RulesDialog(const RuleOptions& current, bool gameInProgress, int rulesPage, SettingsAccess& settings,
                QWidget* parent = nullptr);

    // The options as the controls show them (item index + 1 for the two radio groups).
    RuleOptions options() const;
    // The page that is active now; after the dialog closed, the one to open on next time.
    int activePage() const;

private:
    void setHoyleRules();
    void saveAndAccept();
    void onGoOutChanged();
    void onInitialFreezeToggled();
    void onNaturalPairToggled();
    void fitFont();
    void setControls(const RuleOptions& options);

    SettingsAccess& settings_;
    bool gameInProgress_;

    QTabWidget* pages_ = nullptr;
    QCheckBox* addTopCheck_ = nullptr;
    QCheckBox* topCountCheck_ = nullptr;
    QCheckBox* initialFreezeCheck_ = nullptr;
    QCheckBox* initialBlockCheck_ = nullptr;
    QCheckBox* naturalPairCheck_ = nullptr;
    QCheckBox* addExistingCheck_ = nullptr;
    QCheckBox* drawExtraCheck_ = nullptr;
    QCheckBox* freezeDiscardCheck_ = nullptr;
    QCheckBox* canastaRequiredCheck_ = nullptr;
    QCheckBox* bonusCheck_ = nullptr;
    QCheckBox* wildcardCanastaCheck_ = nullptr;
    QGroupBox* goOutGroup_ = nullptr;
    QGroupBox* drawnGroup_ = nullptr;
    QButtonGroup* goOutItems_ = nullptr;
    QButtonGroup* drawnItems_ = nullptr;
    QLabel* warningLabel_ = nullptr;
    QPushButton* hoyleButton_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace meldora
