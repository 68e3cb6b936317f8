#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/window.h"
#include "state/evaluation_state.h"

namespace zeb {

// The main window without a screen: it keeps the texts and states of the controls and runs the
// same change handlers as the real window. zebscore evaluates through it, and tests read it.
class HeadlessWindow final : public Window {
  public:
    HeadlessWindow(EvaluationState& state, Platform& platform);

    void setEditText(Edit edit, const std::string& text) override;
    std::string editText(Edit edit) const override;
    void setLabelText(Label label, const std::string& text) override;
    void setEnabled(Control control, bool enabled) override;
    bool only80m() const override { return only80m_; }
    void setProgressVisible(bool visible) override;
    void setProgressPosition(int position) override;
    void setCaption(const std::string& caption) override { caption_ = caption; }
    void showConfigurationPage() override { ++configurationPageShown_; }

    void setOnly80m(bool checked) { only80m_ = checked; }
    std::string labelText(Label label) const;
    bool isEnabled(Control control) const;
    const std::string& caption() const { return caption_; }
    bool progressVisible() const { return progressVisible_; }
    // Every position the progress bar was set to, in order.
    const std::vector<int>& progressPositions() const { return progressPositions_; }
    int configurationPageShown() const { return configurationPageShown_; }

  private:
    EvaluationState& state_;
    Platform& platform_;
    std::map<Edit, std::string> edits_;
    std::map<Label, std::string> labels_;
    std::map<Control, bool> enabled_;
    bool only80m_ = false;
    bool progressVisible_ = false;
    std::vector<int> progressPositions_;
    std::string caption_ = "ZEB contest ver. 3.05";
    int configurationPageShown_ = 0;
};

}  // namespace zeb
