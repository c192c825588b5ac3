#pragma once

#include "app/Workspace.h"

#include <QWidget>
#include <functional>

class GradientStrip;
class ImageView;
class Prompts;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QScrollArea;
class QSlider;
class TGlintImage;
class TOpenList;

// The main window: the top band of large buttons, the layer and scheme lists on the
// left, the mask-editing bar and the scrolling picture. It owns the workspace and
// forwards its controls' events to the operations.
class TForm1 : public QWidget, private ViewPort {
    Q_OBJECT
public:
    TForm1(const QString& appDir, Prompts& prompts, QWidget* parent = nullptr);
    ~TForm1() override;

    const QString& AppDir() const { return appDir_; }
    ::Workspace& Workspace() { return workspace_; }

    // The help page goes to the desktop's default handler; tests may catch it instead.
    std::function<void(const QString& path)> OpenHelpPage;

    TGlintImage* Button(const QString& name) const;
    // The project list that OpenProject shows; set once the windows exist.
    void SetProjectList(TOpenList* list);
    QListWidget* ListBox2 = nullptr;
    QListWidget* scheme = nullptr;
    QWidget* Panel5 = nullptr;
    QLabel* trackBarKind = nullptr;
    QSlider* trackBar = nullptr;
    QLineEdit* toolOption = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    ImageView* image = nullptr;
    QMenu* LayerMenu = nullptr;
    QMenu* SchemeMenu = nullptr;

    // Handlers of the controls.
    void GlintImage1Click();
    void GlintImage2Click();
    void GlintImage11Click();
    void undoClick();
    void redoClick();
    void ImportInto(const QString& folder);
    void GlintImage13Click();
    void GlintImage18Click();
    void ChooseTool(int tool);
    void trackBarChange(int position);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildLayout();
    QWidget* BuildTopBand();
    QWidget* BuildLeftColumn();
    QWidget* BuildEditingBar();
    void ConnectControls();
    void FillLayerList();
    void FillSchemeList();
    void LatchToolButton(const QString& chosen);

    // ViewPort
    QPoint ScrollPosition() const override;
    void SetScrollPosition(QPoint position) override;
    void ViewChanged(const QRect& viewRect) override;

    QString appDir_;
    Prompts& prompts_;
    ::Workspace workspace_;
    GradientStrip* PaintBox1 = nullptr;
    GradientStrip* PaintBox3 = nullptr;
    QWidget* Panel6 = nullptr;
    TOpenList* openList_ = nullptr;
};
