// The main window: owns the one game for the life of the program and the menus
// that reach it.
#pragma once

#include <QMainWindow>
#include <memory>

#include "core/game.h"

class QAction;

namespace meldora {

class SettingsAccess;

class TfmMeldoraMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TfmMeldoraMain(SettingsAccess& settings, QWidget* parent = nullptr);
    ~TfmMeldoraMain() override;

    CanastaGame& Game() { return *game_; }
    int RulesPage = 0;

    // Opens the Rules dialog and applies its options when OK is pressed.
    void Rules1Click();

private:
    class MessageHost;

    void ApplyRules(const RuleOptions& rules);

    SettingsAccess& settings_;
    std::unique_ptr<MessageHost> host_;
    std::unique_ptr<CanastaGame> game_;
    QAction* Exit1 = nullptr;
    QAction* Rules1 = nullptr;
};

}  // namespace meldora
