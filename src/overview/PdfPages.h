#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QString>

// The customer's PDF documents (the paint order, the colour proposal) in memory: A4
// upright with 15 mm margins at 96 dots per inch, so that a unit of the page is a
// pixel of the screen and rows come out as the windows draw them. Writes from the
// top of the page down; the documents add their own parts.
class PdfPages {
public:
    // what names the document as a message's subject in the accusative ("Návrh barev",
    // "Objednávku barev"). Written into device as the pages are made, or without one
    // kept in memory for Finish. Throws TintoraError when the program runs without fonts
    // (not as a graphical application), IoError when the document cannot be started.
    PdfPages(const QString& title, const QString& what, QIODevice* device = nullptr);
    PdfPages(const PdfPages&) = delete;
    PdfPages& operator=(const PdfPages&) = delete;

    // Ends the document and gives its bytes (none when written into a device). Throws
    // IoError.
    QByteArray Finish();

    // Text at the current height, wrapped to the page's width; the height moves below it.
    void Line(const QString& text, const QFont& font, const QColor& colour = Qt::black,
              int after = 4);
    void Space(int units) { y_ += units; }
    // Starts a new page unless the next units fit on this one.
    void Room(int units);
    void NewPage();

protected:
    int Remaining() const { return height_ - y_; }

    QString what_;
    QByteArray bytes_;
    QBuffer buffer_;
    QPdfWriter writer_;
    QPainter painter_;
    int width_ = 0;
    int height_ = 0;
    int y_ = 0; // where the next part starts on the current page
};

// The documents' one typeface, in points.
QFont PdfFont(double points, bool bold = false, bool italic = false);
