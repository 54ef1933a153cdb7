// The one seam through which the window opens file dialogs, message boxes and the overwrite
// question. NativeDialogs uses QFileDialog and QMessageBox; tests script their own.
// Like a single dialog control, the seam keeps one file name shared by every file dialog:
// it is shown as the initial name and holds the chosen name afterwards. The boxes show their
// texts as written: names and paths from files are never read as markup.
#pragma once

#include "OverwriteAnswer.h"

#include <QString>

class QWidget;

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // `filter` is in the pipe form "Label (*.ext)|*.ext|...". Return the chosen path, or
    // an empty text when the user cancelled; a chosen path becomes fileName().
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &filter) = 0;
    // `defaultSuffix` (without the dot) is added to a name typed without an extension, since
    // a file without it would not show in the open dialog's filter.
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &filter,
                                 const QString &defaultSuffix) = 0;
    // Message box titled "Tolvane", one OK button, no icon. Non-empty `details` are there
    // for the asking ("Show Details"), under the text.
    virtual void message(QWidget *parent, const QString &text,
                         const QString &details = QString()) = 0;
    // Yes, No, Yes to all, No to all and Cancel, each with its accelerator key; Yes the
    // default, Escape (and closing the box) No; no icon. `detail` stands under the text, as
    // the box's informative text.
    virtual OverwriteAnswer askOverwrite(QWidget *parent, const QString &title, const QString &text,
                                         const QString &detail) = 0;

    QString fileName() const { return m_fileName; }
    void setFileName(const QString &name) { m_fileName = name; }

private:
    QString m_fileName;
};

class NativeDialogs : public Dialogs
{
public:
    QString openFileName(QWidget *parent, const QString &title, const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &filter,
                         const QString &defaultSuffix) override;
    void message(QWidget *parent, const QString &text, const QString &details = QString()) override;
    OverwriteAnswer askOverwrite(QWidget *parent, const QString &title, const QString &text,
                                 const QString &detail) override;
};
