#include "FileOpenDialog.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFile>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace {

// Qt's own texts for its file dialog, so this one reads as the desktop's do in every
// language Qt is translated into.
QString QtText(const char *text) { return QCoreApplication::translate("QFileDialog", text); }

enum EntryRole { NameBytes = Qt::UserRole, FolderRole };

struct Entry {
    QByteArray name;
    QString shown;
    bool folder = false;
};

std::vector<Entry> ReadFolder(const QByteArray &folder)
{
    std::vector<Entry> entries;
    DIR *dir = ::opendir(folder.constData());
    if (!dir)
        return entries;
    while (const dirent *e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (name.startsWith('.'))
            continue;   // hidden, as in the desktop's dialogs; "." and ".." have the up button
        struct stat info {};
        if (::fstatat(::dirfd(dir), e->d_name, &info, 0) != 0)
            continue;   // a dangling link offers nothing to open
        entries.push_back({name, QFile::decodeName(name), S_ISDIR(info.st_mode)});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const Entry &a, const Entry &b) {
        if (a.folder != b.folder)
            return a.folder;
        const int byText = a.shown.compare(b.shown, Qt::CaseInsensitive);
        return byText != 0 ? byText < 0 : a.name < b.name;
    });
    return entries;
}

bool IsExistingFolder(const QByteArray &path)
{
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

QByteArray Parent(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

} // namespace

QByteArray WorkingFolder()
{
    std::vector<char> buffer(4096);
    while (!::getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE)
            return QByteArray("/");
        buffer.resize(buffer.size() * 2);
    }
    return QByteArray(buffer.data());
}

QByteArray CleanPath(const QByteArray &path)
{
    QList<QByteArray> parts;
    for (const QByteArray &part : path.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    return '/' + parts.join('/');
}

FileOpenDialog::FileOpenDialog(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QtText("Open"));
    setSizeGripEnabled(true);

    auto *lookIn = new QLabel(QtText("Look in:"), this);
    m_folderField = new QLineEdit(this);
    m_folderField->setObjectName(QStringLiteral("lookInField"));
    m_folderField->setReadOnly(true);
    m_folderField->setFocusPolicy(Qt::ClickFocus);
    lookIn->setBuddy(m_folderField);
    m_up = new QToolButton(this);
    m_up->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent, nullptr, this));
    m_up->setToolTip(QtText("Parent Directory"));
    m_up->setAccessibleName(QtText("Parent Directory"));
    m_up->setAutoRaise(true);

    m_entries = new QListWidget(this);
    m_entries->setObjectName(QStringLiteral("entryList"));
    m_entries->setSelectionMode(QAbstractItemView::SingleSelection);
    m_entries->setUniformItemSizes(true);
    m_entries->installEventFilter(this);

    auto *nameLabel = new QLabel(QtText("File &name:"), this);
    m_name = new QLineEdit(this);   // no completer: what is typed is what opens
    m_name->setObjectName(QStringLiteral("fileNameEdit"));
    nameLabel->setBuddy(m_name);

    m_buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    m_buttons->button(QDialogButtonBox::Open)->setText(QtText("&Open"));
    m_buttons->button(QDialogButtonBox::Open)->setDefault(true);

    auto *grid = new QGridLayout(this);
    grid->addWidget(lookIn, 0, 0);
    grid->addWidget(m_folderField, 0, 1);
    grid->addWidget(m_up, 0, 2);
    grid->addWidget(m_entries, 1, 0, 1, 3);
    grid->addWidget(nameLabel, 2, 0);
    grid->addWidget(m_name, 2, 1, 1, 2);
    grid->addWidget(m_buttons, 3, 0, 1, 3);
    setTabOrder(m_entries, m_name);
    setTabOrder(m_name, m_buttons);

    connect(m_up, &QToolButton::clicked, this, [this] { setFolder(Parent(m_folder)); });
    connect(m_buttons, &QDialogButtonBox::accepted, this, &FileOpenDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &FileOpenDialog::reject);
    connect(m_entries, &QListWidget::itemActivated, this, &FileOpenDialog::entryActivated);
    connect(m_entries, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (!item || item->data(FolderRole).toBool())
            return;
        m_pickedText = item->text();
        m_pickedName = item->data(NameBytes).toByteArray();
        m_name->setText(m_pickedText);
    });

    resize(624, 412);
    m_name->setFocus();
}

void FileOpenDialog::setFolder(const QByteArray &folder)
{
    m_folder = CleanPath(folder);
    m_folderField->setText(QFile::decodeName(m_folder));
    m_up->setEnabled(m_folder != "/");
    showEntries();
}

void FileOpenDialog::setFileName(const QString &name)
{
    m_name->setText(name);
    m_name->selectAll();
}

void FileOpenDialog::showEntries()
{
    m_entries->clear();
    m_pickedText.clear();
    m_pickedName.clear();
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon, nullptr, this);
    const QIcon fileIcon = style()->standardIcon(QStyle::SP_FileIcon, nullptr, this);
    for (const Entry &e : ReadFolder(m_folder)) {
        auto *item = new QListWidgetItem(e.folder ? folderIcon : fileIcon, e.shown, m_entries);
        item->setData(NameBytes, e.name);
        item->setData(FolderRole, e.folder);
    }
}

QByteArray FileOpenDialog::resolve(const QString &typed) const
{
    if (typed == QLatin1Char('~') || typed.startsWith(QStringLiteral("~/")))
        return CleanPath(qgetenv("HOME") + '/' + QFile::encodeName(typed.mid(1)));
    if (typed.startsWith(QLatin1Char('/')))
        return CleanPath(QFile::encodeName(typed));
    if (!m_pickedName.isEmpty() && typed == m_pickedText)
        return CleanPath(m_folder + '/' + m_pickedName);   // its real bytes, whatever is shown
    return CleanPath(m_folder + '/' + QFile::encodeName(typed));
}

void FileOpenDialog::accept()
{
    const QString typed = m_name->text();
    if (typed.isEmpty())
        return;
    const QByteArray path = resolve(typed);
    struct stat info {};
    if (::stat(path.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            setFolder(path);
            m_name->clear();
            return;
        }
        m_selected = path;
        QDialog::accept();
        return;
    }
    if (!IsExistingFolder(Parent(path)))
        warn(QtText("%1\nDirectory not found.\nPlease verify the correct directory name was given.")
                 .arg(QFile::decodeName(Parent(path))));
    else
        warn(QtText("%1\nFile not found.\nPlease verify the correct file name was given.").arg(typed));
}

void FileOpenDialog::entryActivated(QListWidgetItem *item)
{
    if (!item)
        return;
    const QByteArray path = CleanPath(m_folder + '/' + item->data(NameBytes).toByteArray());
    if (item->data(FolderRole).toBool()) {
        setFolder(path);
        return;
    }
    m_pickedText = item->text();
    m_pickedName = item->data(NameBytes).toByteArray();
    m_name->setText(m_pickedText);
    accept();
}

void FileOpenDialog::warn(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("OpenWarning"));
    box.exec();
}

bool FileOpenDialog::eventFilter(QObject *watched, QEvent *event)
{
    // Return on an entry opens it, and only it: the dialog's default button must not act
    // on the name field as well.
    if (watched == m_entries && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_entries->currentItem()) {
            entryActivated(m_entries->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
