// The open dialog: what a typed text leads to, and what the dialog does with it.
#include "FileDialog.h"
#include "ModalDriver.h"
#include "TempDir.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTest>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/stat.h>

namespace {

TEST(FileDialog, TypedTextLeadsWhereItSays)
{
    FileDialog dialog;
    dialog.setFolder("/daten/w");
    const QByteArray home = qgetenv("HOME");
    struct Case { const char *typed; QByteArray expected; };
    const Case cases[] = {
        {"TEAM.dat", "/daten/w/TEAM.dat"},
        {"x/TEAM.dat", "/daten/w/x/TEAM.dat"},
        {"../TEAM.dat", "/daten/TEAM.dat"},
        {"./a/./b/../TEAM.dat", "/daten/w/a/TEAM.dat"},
        {"/andere/w/TEAM.dat", "/andere/w/TEAM.dat"},
        {"/x//y/", "/x/y"},
        {"Mit Blanks/Übung.dat", "/daten/w/Mit Blanks/\xC3\x9C" "bung.dat"},
        {"~", home},
        {"~/Daten/TEAM.dat", home + "/Daten/TEAM.dat"},
        {"~Daten", "/daten/w/~Daten"},   // not the home folder: a name of its own
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(dialog.resolve(QString::fromUtf8(c.typed)), c.expected);
    }
}

class OpenDialogFolder : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = QFile::encodeName(dir.path());
        ASSERT_EQ(::mkdir((root + "/w").constData(), 0755), 0);
        ASSERT_EQ(::mkdir((root + "/\xE4\xF6").constData(), 0755), 0);   // not UTF-8
        touch(root + "/\xE4\xF6/TEAM.dat");
        touch(root + "/w/TEAM.dat");
    }
    static void touch(const QByteArray &path)
    {
        // QFile cannot name a path that is not UTF-8: opened by its bytes.
        FILE *file = std::fopen(path.constData(), "w");
        ASSERT_NE(file, nullptr);
        std::fclose(file);
    }

    TempDir dir;
    QByteArray root;
    ModalDriver driver;
};

TEST_F(OpenDialogFolder, AFolderWhoseNameIsNotUtf8OpensByItsBytes)
{
    FileDialog dialog;
    dialog.setFolder(root + "/\xE4\xF6");
    dialog.setFileName(QStringLiteral("TEAM.dat"));
    QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(dialog.fileNameEdit(), Qt::Key_Return); });
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.selectedFile(), root + "/\xE4\xF6/TEAM.dat");
}

TEST_F(OpenDialogFolder, FoldersAreEnteredAndEntriesOpenByTheirBytes)
{
    FileDialog dialog;
    dialog.setFolder(root);
    dialog.fileNameEdit()->setText(QStringLiteral("w"));
    dialog.accept();   // a folder typed: entered, the dialog stays
    EXPECT_EQ(dialog.folder(), root + "/w");
    EXPECT_EQ(dialog.result(), 0);

    dialog.setFolder(root);
    QListWidget *list = dialog.entryList();
    ASSERT_EQ(list->count(), 2);   // folders only here, in a stable order
    QListWidgetItem *odd = list->item(0)->text() == QStringLiteral("w") ? list->item(1) : list->item(0);
    list->setCurrentItem(odd);
    QTest::keyClick(list, Qt::Key_Return);   // into the folder named by bytes
    EXPECT_EQ(dialog.folder(), root + "/\xE4\xF6");
    ASSERT_EQ(list->count(), 1);
    list->setCurrentItem(list->item(0));
    EXPECT_EQ(dialog.fileNameEdit()->text(), QStringLiteral("TEAM.dat"));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.selectedFile(), root + "/\xE4\xF6/TEAM.dat");
}

TEST_F(OpenDialogFolder, MissingFilesAndFoldersAreWarnedOfAndTheDialogStays)
{
    struct Case { const char *typed; const char *named; };
    const Case cases[] = {{"FEHLT.dat", "FEHLT.dat"}, {"fehlt/TEAM.dat", "/fehlt"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        QString warning;
        driver.then([&](QWidget *w) {
            if (auto *box = qobject_cast<QMessageBox *>(w)) {
                warning = box->text();
                box->accept();
            }
        });
        FileDialog dialog;
        dialog.setFolder(root + "/w");
        dialog.fileNameEdit()->setText(QString::fromUtf8(c.typed));
        dialog.accept();
        EXPECT_TRUE(warning.contains(QString::fromUtf8(c.named))) << warning.toStdString();
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_TRUE(dialog.selectedFile().isEmpty());
    }
    EXPECT_EQ(driver.unexpected(), 0);
}

} // namespace
