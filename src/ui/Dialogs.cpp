#include "Dialogs.h"

#include "WindowLook.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace {

// Both file dialogs start from the shared name and hand the chosen one back to it.
QString runFileDialog(Dialogs &dialogs, QWidget *parent, const QString &title,
                      const QString &filter, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilter(qtFileFilter(filter));
    if (!dialogs.fileName().isEmpty()) {
        dialog.selectFile(dialogs.fileName());
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) {
        return {};
    }
    dialogs.setFileName(chosen.first());
    return chosen.first();
}

} // namespace

QString NativeDialogs::openFileName(QWidget *parent, const QString &title, const QString &filter)
{
    return runFileDialog(*this, parent, title, filter, QFileDialog::AcceptOpen);
}

QString NativeDialogs::saveFileName(QWidget *parent, const QString &title, const QString &filter)
{
    return runFileDialog(*this, parent, title, filter, QFileDialog::AcceptSave);
}

void NativeDialogs::message(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, WindowLook::ProgramTitle, text, QMessageBox::Ok, parent);
    box.exec();
}

bool NativeDialogs::askYesNo(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString qtFileFilter(const QString &pipeFilter)
{
    // The pipe form alternates label and pattern; Qt reads the patterns from the labels.
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList labels;
    for (int i = 0; i < parts.size(); i += 2) {
        labels.append(parts.at(i));
    }
    return labels.join(QLatin1String(";;"));
}
