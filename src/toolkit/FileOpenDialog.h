// The dialog that asks for an existing file: a folder's entries, a name field, "Öffnen"
// and "Abbrechen". It keeps paths as the file system spells them (bytes), so folders whose
// names are not UTF-8 open as well as any other, and it keeps no history and reads or
// writes no settings: it always starts where it is told.
#pragma once

#include <QByteArray>
#include <QDialog>

class QDialogButtonBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QToolButton;

class FileOpenDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FileOpenDialog(QWidget *parent = nullptr);

    // The folder whose entries are shown, an absolute native path.
    void setFolder(const QByteArray &folder);
    const QByteArray &folder() const { return m_folder; }
    // The text of the name field.
    void setFileName(const QString &name);

    // After the dialog was accepted: the chosen file's full native path.
    const QByteArray &selectedFile() const { return m_selected; }

    QLineEdit *fileNameEdit() const { return m_name; }
    QListWidget *entryList() const { return m_entries; }

    // Where `typed` leads from the folder shown: an absolute path as it stands, "~" for the
    // home folder, anything else relative to the folder; "." and ".." taken out.
    QByteArray resolve(const QString &typed) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    // What the "Öffnen" button and Return in the name field do: a folder is entered, an
    // existing file is chosen, anything else gets a warning and the dialog stays.
    void accept() override;

private:
    void showEntries();
    void entryActivated(QListWidgetItem *item);
    void warn(const QString &text);

    QByteArray m_folder;
    QByteArray m_selected;
    QLineEdit *m_folderField = nullptr;
    QToolButton *m_up = nullptr;
    QListWidget *m_entries = nullptr;
    QLineEdit *m_name = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    // The entry last picked in the list: its name as shown and as stored.
    QString m_pickedText;
    QByteArray m_pickedName;
};

// The process's working folder as the file system spells it.
QByteArray WorkingFolder();

// `path` with "." and empty parts removed and each ".." taking away the part before it.
QByteArray CleanPath(const QByteArray &path);
