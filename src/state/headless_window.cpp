#include "state/headless_window.h"

#include "state/window_logic.h"

namespace zeb {

HeadlessWindow::HeadlessWindow(EvaluationState& state, Platform& platform)
    : state_(state), platform_(platform) {
    edits_[Edit::radek1] = "1";
    edits_[Edit::cstart] = "55";
    edits_[Edit::istart] = "73";
    edits_[Edit::cvzor] = "OK1ABC/TEST";
    edits_[Edit::ivzor] = "NM";
}

void HeadlessWindow::setEditText(Edit edit, const std::string& text) {
    edits_[edit] = text;
    switch (edit) {
        case Edit::radek1:
            c1radek(state_, *this, platform_);
            break;
        case Edit::cstart:
            ccstart(state_, *this);
            break;
        case Edit::istart:
            cistart(state_, *this);
            break;
        case Edit::cvzor:
        case Edit::ivzor:
            break;
    }
}

std::string HeadlessWindow::editText(Edit edit) const {
    const auto found = edits_.find(edit);
    return found == edits_.end() ? std::string() : found->second;
}

void HeadlessWindow::setLabelText(Label label, const std::string& text) {
    labels_[label] = text;
}

void HeadlessWindow::setEnabled(Control control, bool enabled) {
    enabled_[control] = enabled;
}

void HeadlessWindow::setProgressVisible(bool visible) {
    progressVisible_ = visible;
}

void HeadlessWindow::setProgressPosition(int position) {
    progressPositions_.push_back(position);
}

std::string HeadlessWindow::labelText(Label label) const {
    const auto found = labels_.find(label);
    return found == labels_.end() ? std::string() : found->second;
}

bool HeadlessWindow::isEnabled(Control control) const {
    const auto found = enabled_.find(control);
    return found == enabled_.end() || found->second;
}

}  // namespace zeb
