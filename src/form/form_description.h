#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zeb {

enum class ControlKind {
    PageControl,
    Page,
    Label,
    Edit,
    GroupBox,
    Button,
    CheckBox,
    ProgressBar,
    Memo
};

// One control of the main window TForm1 as the evaluator sees it, whatever draws it.
struct FormControl {
    std::string_view name;
    ControlKind kind;
    std::string_view parent;  // kFormName for the window itself
    // Windows-1250. A page's tab text; a memo's whole text, '\n' between its lines.
    std::string caption;
    // Pixels at 96 dots per inch, relative to the parent. A label has no size of its own: it is as
    // large as its text. A page fills its page control.
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int fontPoints = 0;  // 0: the parent's
    // The place among its siblings when Tab moves the focus. A label, drawn on its parent, has
    // none; a page, a group box or a progress bar has one but never takes the focus itself.
    int tabOrder = kNoTabOrder;

    static constexpr int kNoTabOrder = -1;

    bool takesFocus() const;
};

inline constexpr std::string_view kFormName = "TForm1";

struct FormDescription {
    std::string caption;  // Windows-1250
    // The window's outer size and place on the screen, pixels at 96 dots per inch.
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    std::string_view fontFace;
    int fontPoints = 0;
    // Parents before their children.
    std::vector<FormControl> controls;
    // The page control stretches over the window's whole width, at its given height.
    std::string_view alignedToTop;

    const FormControl* find(std::string_view name) const;
    // The font size that the control shows its text in, its parents' where it has none.
    int fontPointsOf(const FormControl& control) const;
};

// The main window of the program.
const FormDescription& formDescription();

// The controls that Tab visits one after the other, from the window on, with `activePage` the page
// in front: each control in its parent's tab order, followed by its children; of the pages only
// the one in front. The front end passes over those that are disabled or hidden.
std::vector<const FormControl*> tabOrder(const FormDescription& form, std::string_view activePage);

}  // namespace zeb
