#pragma once

#include <string>

namespace zeb {

// The edits of the main window that the logic reads or sets.
enum class Edit { radek1, cstart, istart, cvzor, ivzor };

// The six result labels and the status label.
enum class Label { qsos, dubly, body, zeby, dxcc, celkem, povel };

// Controls that the logic enables and disables.
enum class Control { bvypocet, bukladani, radek1, konfigurace };

// The operations of the main window that the logic calls. Texts are Windows-1250 bytes.
class Window {
  public:
    virtual ~Window() = default;

    // Sets an edit's text as if the evaluator had typed it: the edit's change handler (ccstart,
    // cistart or c1radek) runs at once, also when the text does not change.
    virtual void setEditText(Edit edit, const std::string& text) = 0;
    virtual std::string editText(Edit edit) const = 0;

    virtual void setLabelText(Label label, const std::string& text) = 0;
    virtual void setEnabled(Control control, bool enabled) = 0;

    // The state of the "Jen 80 m" check box.
    virtual bool only80m() const = 0;

    virtual void setProgressVisible(bool visible) = 0;
    virtual void setProgressPosition(int position) = 0;

    // The caption is the loaded file's name as the file system spells it (UTF-8 here).
    virtual void setCaption(const std::string& caption) = 0;
    virtual void showConfigurationPage() = 0;
};

}  // namespace zeb
