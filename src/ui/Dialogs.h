// The one seam through which the window opens file dialogs, message boxes and Yes/No
// questions. NativeDialogs uses QFileDialog and QMessageBox; tests script their own.
// Like a single dialog control, the seam keeps one file name shared by every file dialog:
// it is shown as the initial name and holds the chosen name afterwards.
#pragma once

#include <QString>

class QWidget;

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // `filter` is in the pipe form "Label (*.ext)|*.ext|...". Return the chosen path, or
    // an empty text when the user cancelled; a chosen path becomes fileName().
    virtual QString openFileName(QWidget *parent, const QString &title, const QString &filter) = 0;
    virtual QString saveFileName(QWidget *parent, const QString &title, const QString &filter) = 0;
    // Message box titled "Tolvane", one OK button, no icon.
    virtual void message(QWidget *parent, const QString &text) = 0;
    // Yes and No, Yes the default, no icon; true for Yes.
    virtual bool askYesNo(QWidget *parent, const QString &title, const QString &text) = 0;

    QString fileName() const { return m_fileName; }
    void setFileName(const QString &name) { m_fileName = name; }

private:
    QString m_fileName;
};

class NativeDialogs : public Dialogs
{
public:
    QString openFileName(QWidget *parent, const QString &title, const QString &filter) override;
    QString saveFileName(QWidget *parent, const QString &title, const QString &filter) override;
    void message(QWidget *parent, const QString &text) override;
    bool askYesNo(QWidget *parent, const QString &title, const QString &text) override;
};

// "A (*.a)|*.a|B (*.*)|*.*" becomes "A (*.a);;B (*.*)": the labels already name the patterns.
QString qtFileFilter(const QString &pipeFilter);
