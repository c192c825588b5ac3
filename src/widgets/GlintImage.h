#pragma once

#include <QPixmap>
#include <QWidget>

// A picture that behaves as a button: it shows its normal picture, swaps to the over
// picture while the pointer is over it, and can be latched to show a fixed picture.
// The displayed picture is always a copy; setting a stored picture leaves the
// display alone until the next swap. The control sizes itself to its picture.
class TGlintImage : public QWidget {
    Q_OBJECT
public:
    explicit TGlintImage(QWidget* parent = nullptr);

    const QPixmap& OverPicture() const { return over_; }
    const QPixmap& NormalPicture() const { return normal_; }
    const QPixmap& FixedPicture() const { return fixed_; }
    bool OverChange() const { return overChange_; }
    bool ShowFixedPicture() const { return showFixed_; }

    void SetOverPicture(const QPixmap& picture) { over_ = Copy(picture); }
    void SetNormalPicture(const QPixmap& picture) { normal_ = Copy(picture); }
    void SetFixedPicture(const QPixmap& picture) { fixed_ = Copy(picture); }
    void SetOverChange(bool value) { overChange_ = value; }
    void SetShowFixedPicture(bool value);

    // The picture the control shows, as the image control's own picture.
    const QPixmap& Picture() const { return picture_; }
    void SetPicture(const QPixmap& picture);

    bool MouseOver() const { return mouseOver_; }
    // How often the displayed picture was replaced; lets tests see a repaint.
    int DisplayChanges() const { return displayChanges_; }

    QSize sizeHint() const override { return picture_.size(); }

signals:
    void Click();
    void OnMouseLeave(TGlintImage* sender);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    static QPixmap Copy(const QPixmap& picture) { return picture.copy(); }

    QPixmap picture_;
    QPixmap over_;
    QPixmap normal_;
    QPixmap fixed_;
    bool overChange_ = false;
    bool showFixed_ = false;
    bool mouseOver_ = false;
    bool pressed_ = false;
    int displayChanges_ = 0;
};

// Sets up one of the program's image buttons: normal, over and (optionally) fixed
// faces, the normal face shown, OverChange on, the hint and the object name.
TGlintImage* MakeGlintImage(QWidget* parent, const QString& name, const QPixmap& normal,
                            const QPixmap& over, const QString& hint,
                            const QPixmap& fixed = QPixmap());
