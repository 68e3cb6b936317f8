#include "ui/qt_file_dialogs.h"

#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "platform/translation.h"

namespace zeb {

namespace {

bool isMask(const QString& name) {
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

}  // namespace

std::optional<QString> QtFileDialogs::openLog(QWidget* parent, const QString& preset) {
    return show(parent, QFileDialog::AcceptOpen, QStringLiteral("Načti deník"),
                QStringLiteral("Deník cabrillo (*.cbr)"), preset);
}

std::optional<QString> QtFileDialogs::saveProtocol(QWidget* parent, const QString& preset) {
    return show(parent, QFileDialog::AcceptSave, QStringLiteral("Ulož výsledek"),
                QStringLiteral("Protokol o výpočtu (*.prn)"), preset, QStringLiteral("prn"));
}

std::optional<QString> QtFileDialogs::saveConfig(QWidget* parent, const QString& preset) {
    return show(parent, QFileDialog::AcceptSave, QStringLiteral("Ulož konfiguraci"),
                QStringLiteral("Konfigurace sloupců (*.ini)"), preset, QStringLiteral("ini"));
}

std::optional<QString> QtFileDialogs::openConfig(QWidget* parent, const QString& preset) {
    return show(parent, QFileDialog::AcceptOpen, QStringLiteral("Načti konfiguraci"),
                QStringLiteral("Konfigurace sloupců (*.ini)"), preset);
}

std::optional<QString> QtFileDialogs::show(QWidget* parent, QFileDialog::AcceptMode mode,
                                           const QString& title, const QString& filter,
                                           const QString& preset, const QString& defaultSuffix) {
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(mode);
    // A name typed without a suffix gets the mask's, so that the file shows in the dialog that
    // opens it again.
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    // The protocol save asks its own question before it overwrites, and a configuration is
    // overwritten without one.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters({filter, QStringLiteral("Všechny soubory (*)")});
    if (isMask(preset)) {
        if (!lastDirectory_.isEmpty()) {
            dialog.setDirectory(lastDirectory_);
        }
    } else {
        const QFileInfo file(preset);
        dialog.setDirectory(file.absolutePath());
        dialog.selectFile(file.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    lastDirectory_ = QFileInfo(chosen).absolutePath();
    return chosen;
}

std::optional<QString> QtFolderDialogs::chooseFolder(QWidget* parent, const QString& title,
                                                     const QString& start) {
    const QString chosen = QFileDialog::getExistingDirectory(parent, title, start);
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return chosen;
}

ClosingAnswer QtClosingQuestion::askBeforeClosing(QWidget* parent, const QString& title,
                                                  const QString& text) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton* save = box.addButton(QString::fromUtf8(tr("Save")), QMessageBox::AcceptRole);
    QPushButton* discard =
        box.addButton(QString::fromUtf8(tr("Close without saving")), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(QString::fromUtf8(tr("Cancel")), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) {
        return ClosingAnswer::Save;
    }
    if (box.clickedButton() == discard) {
        return ClosingAnswer::CloseWithoutSaving;
    }
    return ClosingAnswer::Cancel;
}

std::optional<QString> QtReasonQuestion::askReason(QWidget* parent, const QString& title,
                                                   const QString& text, const QString& preset) {
    QInputDialog box(parent);
    box.setWindowTitle(title);
    box.setLabelText(text);
    box.setTextValue(preset);
    box.setOkButtonText(QString::fromUtf8(tr("Decide")));
    box.setCancelButtonText(QString::fromUtf8(tr("Cancel")));
    // Wide enough for a sentence; the file keeps a reason on one line.
    box.resize(520, box.sizeHint().height());
    if (box.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return box.textValue();
}

}  // namespace zeb
