#include "FileDialog.h"

#include <QCoreApplication>
#include <QComboBox>
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

FileDialog::FileDialog(QWidget *parent, Purpose purpose) : QDialog(parent), m_purpose(purpose)
{
    const bool saving = purpose == Purpose::Save;
    setWindowTitle(saving ? QtText("Save As") : QtText("Open"));
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

    const auto accepting = saving ? QDialogButtonBox::Save : QDialogButtonBox::Open;
    m_buttons = new QDialogButtonBox(accepting | QDialogButtonBox::Cancel, this);
    m_buttons->button(accepting)->setText(saving ? QtText("&Save") : QtText("&Open"));
    m_buttons->button(accepting)->setDefault(true);

    auto *typeLabel = new QLabel(QtText("Files of type:"), this);
    m_typeBox = new QComboBox(this);
    m_typeBox->setObjectName(QStringLiteral("fileTypeCombo"));
    typeLabel->setBuddy(m_typeBox);
    typeLabel->setVisible(saving);
    m_typeBox->setVisible(saving);
    connect(m_typeBox, &QComboBox::activated, this, [this] { m_name->setText(withTypeExtension(m_name->text())); });

    auto *grid = new QGridLayout(this);
    grid->addWidget(lookIn, 0, 0);
    grid->addWidget(m_folderField, 0, 1);
    grid->addWidget(m_up, 0, 2);
    grid->addWidget(m_entries, 1, 0, 1, 3);
    grid->addWidget(nameLabel, 2, 0);
    grid->addWidget(m_name, 2, 1, 1, 2);
    grid->addWidget(typeLabel, 3, 0);
    grid->addWidget(m_typeBox, 3, 1, 1, 2);
    grid->addWidget(m_buttons, 4, 0, 1, 3);
    setTabOrder(m_entries, m_name);
    setTabOrder(m_name, m_typeBox);
    setTabOrder(m_typeBox, m_buttons);

    connect(m_up, &QToolButton::clicked, this, [this] { setFolder(Parent(m_folder)); });
    connect(m_buttons, &QDialogButtonBox::accepted, this, &FileDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &FileDialog::reject);
    connect(m_entries, &QListWidget::itemActivated, this, &FileDialog::entryActivated);
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

void FileDialog::setFolder(const QByteArray &folder)
{
    m_folder = CleanPath(folder);
    m_folderField->setText(QFile::decodeName(m_folder));
    m_up->setEnabled(m_folder != "/");
    showEntries();
}

void FileDialog::setFileName(const QString &name)
{
    m_name->setText(name);
    m_name->selectAll();
}

void FileDialog::showEntries()
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

QByteArray FileDialog::resolve(const QString &typed) const
{
    if (typed == QLatin1Char('~') || typed.startsWith(QStringLiteral("~/")))
        return CleanPath(qgetenv("HOME") + '/' + QFile::encodeName(typed.mid(1)));
    if (typed.startsWith(QLatin1Char('/')))
        return CleanPath(QFile::encodeName(typed));
    if (!m_pickedName.isEmpty() && typed == m_pickedText)
        return CleanPath(m_folder + '/' + m_pickedName);   // its real bytes, whatever is shown
    return CleanPath(m_folder + '/' + QFile::encodeName(typed));
}

void FileDialog::setFileTypes(const QList<FileType> &types)
{
    m_types = types;
    m_typeBox->clear();
    for (const FileType &t : types)
        m_typeBox->addItem(QStringLiteral("%1 (*%2)").arg(t.description, t.extension));
}

int FileDialog::selectedType() const
{
    for (int i = 0; i < m_types.size(); ++i)
        if (m_selected.toLower().endsWith(QFile::encodeName(m_types[i].extension)))
            return i;
    return m_typeBox->currentIndex();
}

QString FileDialog::withTypeExtension(const QString &typed) const
{
    const int chosen = m_typeBox->currentIndex();
    if (chosen < 0 || typed.isEmpty())
        return typed;
    QString name = typed;
    for (const FileType &t : m_types)
        if (name.endsWith(t.extension, Qt::CaseInsensitive)) {
            name.chop(t.extension.size());
            break;
        }
    return name + m_types[chosen].extension;
}

bool FileDialog::confirmReplace(const QString &name)
{
    QMessageBox box(QMessageBox::Warning, windowTitle(), QtText("%1 already exists.\nDo you want to replace it?").arg(name),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName(QStringLiteral("ReplaceQuestion"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void FileDialog::accept()
{
    QString typed = m_name->text();
    if (typed.isEmpty())
        return;
    if (m_purpose == Purpose::Save && !m_types.isEmpty()) {
        const bool known = std::any_of(m_types.cbegin(), m_types.cend(), [&](const FileType &t) {
            return typed.endsWith(t.extension, Qt::CaseInsensitive);
        });
        if (!known && !IsExistingFolder(resolve(typed)))
            typed = withTypeExtension(typed);
    }
    const QByteArray path = resolve(typed);
    struct stat info {};
    if (::stat(path.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            setFolder(path);
            m_name->clear();
            return;
        }
        if (m_purpose == Purpose::Open || confirmReplace(typed))
            choose(path);
        return;
    }
    const bool folderExists = IsExistingFolder(Parent(path));
    if (m_purpose == Purpose::Save && folderExists)
        choose(path);
    else if (!folderExists)
        warn(QtText("%1\nDirectory not found.\nPlease verify the correct directory name was given.")
                 .arg(QFile::decodeName(Parent(path))));
    else
        warn(QtText("%1\nFile not found.\nPlease verify the correct file name was given.").arg(typed));
}

void FileDialog::choose(const QByteArray &path)
{
    m_selected = path;
    QDialog::accept();
}

void FileDialog::entryActivated(QListWidgetItem *item)
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

void FileDialog::warn(const QString &text)
{
    QMessageBox box(QMessageBox::Warning, windowTitle(), text, QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("OpenWarning"));
    box.exec();
}

bool FileDialog::eventFilter(QObject *watched, QEvent *event)
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
