// The dialog that asks for a file to open or a name to save under: a folder's entries, a
// name field, "Öffnen" or "Speichern" and "Abbrechen". It keeps paths as the file system
// spells them (bytes), so folders whose names are not UTF-8 work as well as any other, and
// it keeps no history and reads or writes no settings: it always starts where it is told.
#pragma once

#include <QByteArray>
#include <QDialog>

class QDialogButtonBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QToolButton;

class FileDialog : public QDialog
{
    Q_OBJECT
public:
    enum class Purpose {
        Open,   // an existing file
        Save,   // a name in an existing folder; an existing file is replaced when confirmed
    };

    explicit FileDialog(QWidget *parent = nullptr, Purpose purpose = Purpose::Open);

    // Save: the kinds of file offered, each a description and an extension (".png"); the
    // name field's extension follows the kind chosen, and a name without one of these
    // extensions gets the chosen kind's.
    struct FileType {
        QString description;
        QString extension;
    };
    void setFileTypes(const QList<FileType> &types);
    // The kind of the file chosen: its index in the types.
    int selectedType() const;

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
    void choose(const QByteArray &path);
    bool confirmReplace(const QString &name);
    QString withTypeExtension(const QString &typed) const;

    QByteArray m_folder;
    QByteArray m_selected;
    QLineEdit *m_folderField = nullptr;
    QToolButton *m_up = nullptr;
    QListWidget *m_entries = nullptr;
    QLineEdit *m_name = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    Purpose m_purpose;
    QList<FileType> m_types;
    class QComboBox *m_typeBox = nullptr;
    // The entry last picked in the list: its name as shown and as stored.
    QString m_pickedText;
    QByteArray m_pickedName;
};

// The process's working folder as the file system spells it.
QByteArray WorkingFolder();

// `path` with "." and empty parts removed and each ".." taking away the part before it.
QByteArray CleanPath(const QByteArray &path);
