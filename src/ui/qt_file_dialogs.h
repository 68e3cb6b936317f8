#pragma once

#include <QFileDialog>
#include <QString>
#include <optional>

#include "ui/file_dialogs.h"

namespace zeb {

// The file dialogs of the desktop.
class QtFileDialogs final : public FileDialogs {
  public:
    std::optional<QString> openLog(QWidget* parent, const QString& preset) override;
    std::optional<QString> saveProtocol(QWidget* parent, const QString& preset) override;
    std::optional<QString> saveConfig(QWidget* parent, const QString& preset) override;
    std::optional<QString> openConfig(QWidget* parent, const QString& preset) override;

  private:
    std::optional<QString> show(QWidget* parent, QFileDialog::AcceptMode mode, const QString& title,
                                const QString& filter, const QString& preset,
                                const QString& defaultSuffix = {});

    // Where the last accepted dialog was, so that a dialog preset with a bare mask opens there.
    QString lastDirectory_;
};

class QtFolderDialogs final : public FolderDialogs {
  public:
    std::optional<QString> chooseFolder(QWidget* parent, const QString& title,
                                        const QString& start) override;
};

// The closing question as a message box.
class QtClosingQuestion final : public ClosingQuestion {
  public:
    ClosingAnswer askBeforeClosing(QWidget* parent, const QString& title,
                                   const QString& text) override;
};

// The reason asked in an input box.
class QtReasonQuestion final : public ReasonQuestion {
  public:
    std::optional<QString> askReason(QWidget* parent, const QString& title, const QString& text,
                                     const QString& preset) override;
};

}  // namespace zeb
