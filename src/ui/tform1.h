#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/window.h"
#include "state/evaluation_state.h"
#include "ui/file_dialogs.h"

QT_BEGIN_NAMESPACE
namespace Ui {
class TForm1;
}
class QLabel;
class QLineEdit;
QT_END_NAMESPACE

namespace zeb {

// The evaluator's one window. Its controls come from tform1.ui; every handler hands its work to
// the core and the core drives the controls back through the Window interface.
class TForm1 final : public QWidget, public Window {
    Q_OBJECT

  public:
    TForm1(Platform& platform, FileDialogs& fileDialogs, QWidget* parent = nullptr);
    ~TForm1() override;

    // Window. Texts cross as Windows-1250 bytes.
    void setEditText(Edit edit, const std::string& text) override;
    std::string editText(Edit edit) const override;
    void setLabelText(Label label, const std::string& text) override;
    using QWidget::setEnabled;
    void setEnabled(Control control, bool enabled) override;
    bool only80m() const override;
    void setProgressVisible(bool visible) override;
    void setProgressPosition(int position) override;
    void setCaption(const std::string& caption) override;
    void showConfigurationPage() override;

    const EvaluationState& state() const { return *state_; }

    // Loads the log as "Načti deník" does when the file is chosen in its dialog.
    void loadLogFile(const QString& path);
    // `zebcontest LOG` (or `zebcontest -- LOG`) loads LOG; without one nothing happens.
    void openArguments(const QStringList& arguments);

    // The handlers.
    void FormCreate();
    void Button1Click();
    void nactidenikClick();
    void bvypocetClick();
    void bukladaniClick();
    void Button2Click();
    void Button3Click();
    void ccstart();
    void cistart();
    void c1radek();
    void setcall();
    void setzeb();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void connectHandlers();
    void load(const std::optional<QString>& chosen);
    QLineEdit* lineEdit(Edit edit) const;
    QLabel* label(Label label) const;
    QWidget* control(Control control) const;
    // Runs a handler so that an exception never crosses the event loop: it is shown instead.
    template <typename Work>
    void guarded(Work&& work);

    std::unique_ptr<Ui::TForm1> ui_;
    std::unique_ptr<EvaluationState> state_;
    Platform& platform_;
    FileDialogs& fileDialogs_;
    // The file names that the dialogs remember between uses.
    std::optional<QString> protocolName_;
    std::optional<QString> configSaveName_;
    std::optional<QString> configOpenName_;
};

}  // namespace zeb
