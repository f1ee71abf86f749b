// A fresh MELDORA_HOME per test, settings written before the main window comes up,
// scripted boxes, and a main window started the way the program starts it.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/file_locations.h"
#include "settings/settings_store.h"
#include "support/gui_app.h"
#include "support/scripted_prompts.h"
#include "support/temp_home.h"
#include "table/main_window.h"

namespace meldora::test {

class MainWindowTest : public ::testing::Test {
protected:
    TempHome home;
    ScriptedPrompts scripted;
    std::vector<prompts::Request>& asked = scripted.asked;
    std::unique_ptr<MainWindow> window;

    void SetUp() override
    {
        EnsureGuiApplication();
        // Quick and quiet games: no flights, no melding pause, no turn window.
        WriteSetting("Settings\\Card Movement", false);
        WriteSetting("Settings\\Delay", 0);
        WriteSetting("Settings\\Show Turns", false);
        // No Hall of Fame at every hand end; tests of the records turn it on.
        WriteSetting("Settings\\Show Highscores", false);
    }

    void TearDown() override { window.reset(); }

    // The program's own store, opened beside the window as a second copy would.
    static std::unique_ptr<SettingsStore> Store()
    {
        auto store = std::make_unique<SettingsStore>(SettingsDatabasePath().string());
        store->SetRoot(RootKey::LocalMachine);
        store->SetKey(MeldoraBaseKey);
        return store;
    }
    static void WriteSetting(const std::string& name, const SettingValue& value) { Store()->WriteValue(name, value); }
    static std::string ReadSetting(const std::string& name) { return Store()->ReadString(name, "<absent>"); }

    // Creates the main window as the program does.
    MainWindow& Create(const QString& argument = {}, int screenWidth = 1024)
    {
        window = std::make_unique<MainWindow>(argument, screenWidth);
        return *window;
    }
    // Shows the window and runs the splash timer at once. drawFirst 0 or 1, when
    // given, decides who opens the first hand; a seed fixes the deal.
    void StartUp(int drawFirst = -1, std::uint32_t seed = 0)
    {
        window->show();
        if (drawFirst >= 0)
            window->game().Match.DrawFirst = drawFirst != 0;
        if (seed != 0) {
            window->game().Seed(seed);
        }
        window->onSplashTimer();
    }
    std::filesystem::path AutoSaveFile() const { return home.Dir / "autosave.meldora"; }
};

}  // namespace meldora::test
