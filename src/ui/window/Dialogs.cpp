#include "Dialogs.h"

#include "WindowLook.h"

#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

namespace {

// "A (*.a)|*.a|B (*.*)|*.*" becomes "A (*.a);;B (*.*)": the labels already name the patterns.
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

// Both file dialogs start from the shared name and hand the chosen one back to it.
QString runFileDialog(Dialogs &dialogs, QWidget *parent, const QString &title,
                      const QString &filter, QFileDialog::AcceptMode mode,
                      const QString &defaultSuffix = QString())
{
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(mode);
    dialog.setDefaultSuffix(defaultSuffix);
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

// A box's text carries names from files and paths, and Qt would read one whose first line
// holds a tag as rich text: "<img src=...>" opens whatever file it names, a FIFO or /dev/zero
// included, and "<b>" shows another name than the list does. Nothing in it is markup. The
// box's text format reaches its main text alone, so every label of it is told, the
// informative text's included; call it once the texts are set.
void showAsWritten(QMessageBox &box)
{
    box.setTextFormat(Qt::PlainText);
    for (QLabel *label : box.findChildren<QLabel *>()) {
        label->setTextFormat(Qt::PlainText);
    }
}

} // namespace

QString NativeDialogs::openFileName(QWidget *parent, const QString &title, const QString &filter)
{
    return runFileDialog(*this, parent, title, filter, QFileDialog::AcceptOpen);
}

QString NativeDialogs::saveFileName(QWidget *parent, const QString &title, const QString &filter,
                                    const QString &defaultSuffix)
{
    return runFileDialog(*this, parent, title, filter, QFileDialog::AcceptSave, defaultSuffix);
}

void NativeDialogs::message(QWidget *parent, const QString &text, const QString &details)
{
    QMessageBox box(QMessageBox::NoIcon, WindowLook::ProgramTitle, text, QMessageBox::Ok, parent);
    showAsWritten(box);
    box.setDetailedText(details);
    box.exec();
}

OverwriteAnswer NativeDialogs::askOverwrite(QWidget *parent, const QString &title,
                                            const QString &text, const QString &detail)
{
    // The texts are set here rather than left to the platform, so every button keeps an
    // accelerator (Qt's own Cancel has none) and the letters never clash.
    struct Choice
    {
        QMessageBox::StandardButton button;
        const char *text;
        OverwriteAnswer answer;
    };
    static const Choice choices[] = {
        {QMessageBox::Yes, "&Yes", OverwriteAnswer::Yes},
        {QMessageBox::No, "&No", OverwriteAnswer::No},
        {QMessageBox::YesToAll, "Yes to &all", OverwriteAnswer::YesToAll},
        {QMessageBox::NoToAll, "N&o to all", OverwriteAnswer::NoToAll},
        {QMessageBox::Cancel, "&Cancel", OverwriteAnswer::Cancel},
    };
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::NoButton, parent);
    box.setInformativeText(detail);
    showAsWritten(box);
    for (const Choice &choice : choices) {
        box.addButton(choice.button)->setText(QString::fromUtf8(choice.text));
    }
    box.setDefaultButton(QMessageBox::Yes);
    // With a Cancel button, Qt would make Escape cancel; Escape has always meant No here.
    box.setEscapeButton(QMessageBox::No);
    const int chosen = box.exec();
    for (const Choice &choice : choices) {
        if (chosen == choice.button) {
            return choice.answer;
        }
    }
    return OverwriteAnswer::No;
}
