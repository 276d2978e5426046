// The team selection window: asks for the data file, shows the member count and opens
// one profile chart window per view.
#pragma once

#include <QWidget>

#include <cstdint>

class ImageBox;
class FileDialog;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

class Tquadrivofrm : public QWidget
{
    Q_OBJECT
public:
    // When the components are made. At the window's creation, as a form's are; or right
    // after the window is first put on the screen, before its first paint, as the program
    // does: their texts wake the accessibility bridge and the count field needs the font
    // database, which would otherwise delay the window's appearance (see BENCHMARKS.md).
    // Until then the component pointers are null.
    enum class Components { AtCreation, AfterShowing };

    explicit Tquadrivofrm(QWidget *parent = nullptr, Components components = Components::AtCreation);

    void setVisible(bool visible) override;

    // The data file to read in place of asking for it: the one-time work then shows no
    // open dialog. A relative path counts from the working folder.
    void OpenWithoutDialog(const QByteArray &dataFile);

    // Components, in the order of the window's design; all are children of the window.
    QPushButton *button_ende = nullptr;
    FileDialog *OpenDialog1 = nullptr;   // exists while the one-time work shows it
    QLabel *Label18 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;
    QPushButton *Button13 = nullptr;
    ImageBox *Image1 = nullptr;
    QLabel *Label3 = nullptr;

    void FormCreate(QObject *Sender);
    void FormActivate(QObject *Sender);
    void button_endeClick(QObject *Sender);
    void Button1Click(QObject *Sender);
    void Button2Click(QObject *Sender);
    void Button3Click(QObject *Sender);
    void Button13Click(QObject *Sender);

    static constexpr QSize OuterSize{606, 364};

protected:
    // The one place that decides what counts as the window's activation: its first
    // showing. Qt also reports activations when the focus returns from a dialog, a
    // message box or another application; those do nothing here.
    bool event(QEvent *e) override;
    // Enter presses the focused button, as on the desktops the program's users know.
    void keyPressEvent(QKeyEvent *e) override;

private:
    void CreateComponents();
    void ShowView(std::uint8_t member, QPushButton *used);
    FileDialog *CreateOpenDialog();
    bool AskSaveGraphics();

    bool m_activationDone = false;
    QByteArray m_givenFile;
};

// The running selection window, the application's main window.
extern Tquadrivofrm *quadrivofrm;
