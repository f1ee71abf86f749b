// Scripted prompts: with a responder installed no window opens and the scripted
// answer comes back.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "support/gui_app.h"
#include "table/prompts.h"

namespace meldora::prompts {
namespace {

TEST(PromptsTest, ResponderAnswersWithoutAWindow)
{
    test::EnsureGuiApplication();
    std::vector<Request> asked;
    QString next;
    setResponder([&](const Request& r) {
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        for (QWidget* w : QApplication::topLevelWidgets())
            EXPECT_FALSE(w->isVisible());
        asked.push_back(r);
        return next;
    });

    warning(nullptr, "careful");
    next = "yes";
    EXPECT_TRUE(confirm(nullptr, "Sure?"));
    next = "no";
    EXPECT_FALSE(confirm(nullptr, "Sure?"));
    next = "/tmp/game.meldora";
    EXPECT_EQ(openFileName(nullptr, "Open", "/tmp", "*.meldora"), "/tmp/game.meldora");

    bool ok = false;
    next = "";
    EXPECT_EQ(inputText(nullptr, "Name", "Your name:", "x", &ok), "");
    EXPECT_TRUE(ok);
    next = QString();
    inputText(nullptr, "Name", "Your name:", "x", &ok);
    EXPECT_FALSE(ok);
    setResponder({});

    ASSERT_EQ(asked.size(), 6u);
    EXPECT_EQ(asked[0].kind, Kind::Warning);
    EXPECT_EQ(asked[0].title, "Meldora");
    EXPECT_EQ(asked[0].text, "careful");
    EXPECT_EQ(asked[1].kind, Kind::Confirmation);
    EXPECT_EQ(asked[3].kind, Kind::OpenFile);
    EXPECT_EQ(asked[3].text, "/tmp");
    EXPECT_EQ(asked[4].kind, Kind::Input);
    EXPECT_EQ(asked[4].text, "Your name:");
}

}  // namespace
}  // namespace meldora::prompts
