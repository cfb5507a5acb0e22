// TFrmADesktop: the picture desktop behind the browsers, a maximised MDI child of the main
// window with large buttons for the daily modules and the master files and a strip of buttons
// for the repair-history reports. It opens modules only through the main window's dispatcher,
// behind the same rights check as the menu.
#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QWidget>

class TFrmAMain;
class tQxGifButton;
namespace qx::app {
class ColorPanel;
}

class TFrmADesktop : public QWidget
{
    Q_OBJECT

public:
    // Designed sizes of the two spacers, scaled to the screen when the desktop is shown.
    static constexpr int kTopSpacer = 30;
    static constexpr int kLeftSpacer = 61;

    explicit TFrmADesktop(TFrmAMain& MainForm, QWidget* parent = nullptr);
    ~TFrmADesktop() override;

    qx::app::ColorPanel* const Panel1; // top: banner and the master files
    qx::app::ColorPanel* const Panel2; // the rest: the spacers and Panel4
    qx::app::ColorPanel* const Panel3; // bottom: history reports and statistics
    qx::app::ColorPanel* const Panel5; // top spacer
    qx::app::ColorPanel* const Panel6; // left spacer
    qx::app::ColorPanel* const Panel4; // the daily modules

    // The twelve module buttons and the four history buttons, in layout order. Each is an
    // image button that lights up under the mouse; its caption names the module or report.
    QList<tQxGifButton*> ModuleButtons() const { return FModuleButtons; }
    QList<tQxGifButton*> HistoryButtons() const { return FHistoryButtons; }
    // The button of a caption; nullptr when none.
    tQxGifButton* ButtonOf(const QString& Caption) const;

    void FormCreate(QObject* Sender);
    // Scales the spacers to the primary screen.
    void FormShow(QObject* Sender);
    // The spacers for a screen of this size: 600 high or 800 wide takes the spacer away,
    // otherwise it grows with the screen from the designed 1024 x 768.
    void ScaleSpacers(const QSize& Screen);

    // Module buttons: right "主" + caption, then the dispatcher.
    void ModuleButtonClick(QObject* Sender);
    // History buttons: the report of the caption, without a rights check of the program.
    void HistoryButtonClick(QObject* Sender);

protected:
    void showEvent(QShowEvent* event) override;
    // Closing the desktop only minimises it: it lives for the whole run.
    void closeEvent(QCloseEvent* event) override;

    // The pictures of a button: a rounded tile with the caption on it, the hover picture a
    // lighter tile. The bottom-left pixel is the key colour the button leaves transparent.
    static QImage ButtonPicture(const QString& Caption, const QSize& Size, bool Active);

private:
    tQxGifButton* AddButton(QWidget* Parent, const QString& Caption, const QRect& Bounds,
                         bool History);

    TFrmAMain& FMainForm;
    QList<tQxGifButton*> FModuleButtons;
    QList<tQxGifButton*> FHistoryButtons;
};
