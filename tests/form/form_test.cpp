#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "form/form_commands.h"
#include "form/form_description.h"
#include "platform/cp1250.h"
#include "support/recording_platform.h"

namespace zeb::test {
namespace {

std::vector<std::string> namesInTabOrder(std::string_view activePage) {
    std::vector<std::string> names;
    for (const FormControl* control : tabOrder(formDescription(), activePage)) {
        names.emplace_back(control->name);
    }
    return names;
}

TEST(FormDescription, TabVisitsThePageInFrontBetweenThePageControlAndTheButtons) {
    EXPECT_EQ(namesInTabOrder("tabsoub"),
              (std::vector<std::string>{"PageControl1", "cvzor", "istart", "ivzor", "cstart",
                                        "Button2", "Button3", "radek1", "Button1", "nactidenik",
                                        "bvypocet", "bukladani", "jen80"}));
    EXPECT_EQ(namesInTabOrder("TabSheet3"),
              (std::vector<std::string>{"PageControl1", "Memo2", "Button1", "nactidenik",
                                        "bvypocet", "bukladani", "jen80"}));
}

TEST(FormDescription, ControlsTakeTheFontOfTheirNearestParentThatHasOne) {
    const FormDescription& form = formDescription();
    const auto points = [&](std::string_view name) { return form.fontPointsOf(*form.find(name)); };
    EXPECT_EQ(points("jen80"), 8);
    EXPECT_EQ(points("cstart"), 10);
    EXPECT_EQ(points("Memo1"), 10);
    EXPECT_EQ(points("Button2"), 8);
    for (const FormControl& control : form.controls) {
        EXPECT_TRUE(control.parent == kFormName || form.find(control.parent) != nullptr)
            << control.name;
    }
}

// A file dialog answered from a script: each use takes the next answer (nothing: cancelled) and
// notes the preset it was shown with.
struct ScriptedDialog {
    explicit ScriptedDialog(std::vector<std::optional<std::string>> script)
        : answers(std::move(script)) {}
    FileDialog dialog() {
        return [this](const std::string& preset) {
            presets.push_back(preset);
            std::optional<std::string> answer = answers.at(presets.size() - 1);
            return answer;
        };
    }
    std::vector<std::optional<std::string>> answers;
    std::vector<std::string> presets;
};

class FormCommandsTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(evaluation.load(cabrilloLog({qsoLine("3520", "OK1AA", "7")})),
                  LoadOutcome::Loaded);
        ASSERT_TRUE(evaluation.compute());
    }
    Evaluation evaluation;
    FormCommands commands;
};

TEST_F(FormCommandsTest, ACancelledLogDialogFailsTheLoadUnderItsMask) {
    ScriptedDialog open{{std::nullopt}};
    EXPECT_EQ(commands.nactidenikClick(*evaluation.state, evaluation.window, evaluation.platform,
                                       open.dialog()),
              LoadOutcome::CannotOpen);
    EXPECT_EQ(open.presets, std::vector<std::string>{"*.cbr"});
    EXPECT_EQ(evaluation.window.caption(), "*.cbr");
    EXPECT_EQ(evaluation.state->qsoTable.qsoCount, 0);
    EXPECT_EQ(evaluation.dialogTexts(), "Nelze otevřít deník cabrillo!|");
}

TEST_F(FormCommandsTest, TheProtocolDialogOffersTheLastFileAndACancelWritesNothing) {
    ScriptedDialog save{{"a.prn", std::nullopt, "b.prn"}};
    const auto click = [&] {
        return commands.bukladaniClick(*evaluation.state, evaluation.window, evaluation.platform,
                                       save.dialog());
    };
    EXPECT_EQ(click(), SaveOutcome::Saved);
    evaluation.platform.files.erase("a.prn");
    EXPECT_EQ(click(), SaveOutcome::Cancelled);
    EXPECT_EQ(evaluation.platform.files.count("a.prn"), 0u);
    EXPECT_EQ(click(), SaveOutcome::Saved);
    EXPECT_EQ(save.presets, (std::vector<std::string>{"*.prn", "a.prn", "a.prn"}));
    EXPECT_EQ(evaluation.platform.files.count("b.prn"), 1u);
}

TEST_F(FormCommandsTest, TheConfigurationDialogsRememberTheirOwnFiles) {
    ScriptedDialog save{{"a.ini", std::nullopt}};
    ScriptedDialog open{{std::nullopt, std::nullopt}};
    const auto openConfig = [&] {
        commands.Button3Click(*evaluation.state, evaluation.window, evaluation.platform,
                              open.dialog());
    };
    commands.Button2Click(*evaluation.state, evaluation.platform, save.dialog());
    commands.Button2Click(*evaluation.state, evaluation.platform, save.dialog());
    openConfig();  // nothing chosen yet: nothing read
    EXPECT_EQ(evaluation.state->columns.exchStart, 73);
    evaluation.platform.files["a.ini"] = "1\n2\n3\n4\n";
    commands.offerConfigFile("a.ini");
    openConfig();  // cancelled: the offered file is read
    EXPECT_EQ(save.presets, (std::vector<std::string>{"*.ini", "a.ini"}));
    EXPECT_EQ(open.presets, (std::vector<std::string>{"*.ini", "a.ini"}));
    EXPECT_EQ(evaluation.state->columns.exchStart, 3);
}

TEST_F(FormCommandsTest, AConfigurationThatCannotBeWrittenIsReported) {
    evaluation.platform.failWritesWith = utf8ToCp1250("Složka neexistuje.");
    ScriptedDialog save{{"chybí/a.ini"}};
    commands.Button2Click(*evaluation.state, evaluation.platform, save.dialog());
    ASSERT_EQ(evaluation.platform.dialogs.size(), 1u);
    EXPECT_EQ(evaluation.platform.dialogs[0].text,
              "Konfiguraci se nepodařilo uložit do souboru\nchybí/a.ini\nSložka neexistuje.");
    EXPECT_EQ(evaluation.platform.dialogs[0].kind, DialogKind::Error);
}

}  // namespace
}  // namespace zeb::test
