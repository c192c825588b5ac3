#include "widgets/QtPrompts.h"

#include "project/Errors.h"
#include "project/RegularFile.h"
#include "widgets/CzechMessageDialog.h"
#include "widgets/ProgressDialog.h"
#include "widgets/WindowPlacement.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QImageReader>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>

#include <memory>

QString QtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // "Obrázky JPG (*.jpg)" already names its patterns; "Obrázky (jpg)" does not.
        const QString named = QStringLiteral("(%1)").arg(patterns);
        filters << (parts[i].endsWith(named) ? parts[i]
                                             : QStringLiteral("%1 %2").arg(parts[i], named));
    }
    return filters.join(QStringLiteral(";;"));
}

QWidget* QtPrompts::Owner() const {
    // The window the user is working in: a question asked from the catalogue is
    // centred on the catalogue, one asked from the main window on the main window.
    QWidget* active = QApplication::activeWindow();
    if (active && active->isVisible() && !active->isMinimized())
        return active;
    return parent_;
}

Prompts::Button QtPrompts::Message(const QString& text, const QString& caption, Icon icon,
                                   Buttons buttons, Button defaultButton) {
    return CzechMessageDialog(caption, text, icon, buttons, defaultButton, 0, Owner());
}

QString QtPrompts::OpenFileName(const QString& filter, FileUse use) {
    // Qt's own dialog, so that a preview of the picked picture can sit beside the list;
    // it matches its patterns in any letter case.
    QFileDialog dialog(Owner(), QStringLiteral("Otevřít"), folders_[use], QtFileFilter(filter));
    KeepAboveOtherWindows(&dialog);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    auto* preview = new QLabel(&dialog);
    preview->setObjectName(QStringLiteral("preview"));
    preview->setFixedSize(220, 180);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(preview, 1, grid->columnCount(), 1, 1, Qt::AlignTop);
    QObject::connect(
        &dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
            // Only a regular file, opened without waiting: a FIFO would hold the dialog.
            std::unique_ptr<QFile> file;
            try {
                file = RegularFile::Open(path);
            } catch (const TintoraError&) {
                preview->setPixmap(QPixmap());
                return;
            }
            QImageReader reader(file.get());
            reader.setAutoTransform(true);
            const QSize size = reader.size();
            if (size.isValid())
                reader.setScaledSize(size.scaled(QSize(220, 180), Qt::KeepAspectRatio));
            const QImage image = reader.read();
            preview->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
        });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString chosen = dialog.selectedFiles().constFirst();
    folders_[use] = QFileInfo(chosen).absolutePath();
    return chosen;
}

QString QtPrompts::SaveFileName(const QString& defaultSuffix, const QString& filter,
                                const QString& suggested, FileUse use) {
    QFileDialog dialog(Owner(), QStringLiteral("Uložit jako"), QString(), QtFileFilter(filter));
    KeepAboveOtherWindows(&dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A file of the chosen name is replaced without a question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(defaultSuffix);
    // The name offered, in the folder this dialog was last used in.
    const QFileInfo offered(suggested);
    const QString folder = folders_[use].isEmpty() ? offered.absolutePath() : folders_[use];
    dialog.setDirectory(folder);
    dialog.selectFile(QDir(folder).filePath(offered.fileName()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString chosen = dialog.selectedFiles().constFirst();
    folders_[use] = QFileInfo(chosen).absolutePath();
    return chosen;
}

Colour QtPrompts::ChooseColour(Colour initial) {
    QColorDialog dialog(QColor(RedOf(initial), GreenOf(initial), BlueOf(initial)), Owner());
    KeepAboveOtherWindows(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return NoColour;
    const QColor chosen = dialog.selectedColor();
    return Rgb(chosen.red(), chosen.green(), chosen.blue());
}

std::unique_ptr<Progress> QtPrompts::ShowProgress(const QString& text) {
    return std::make_unique<ProgressDialog>(text, Owner());
}

QString QtPrompts::InputText(const QString& caption, const QString& prompt,
                             const QString& defaultText, int maxLength) {
    QInputDialog dialog(Owner());
    KeepAboveOtherWindows(&dialog);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setCancelButtonText(QStringLiteral("Storno"));
    // The question is the window's title: room for it in a bold title font beside
    // the window manager's buttons, so that it is not cut short.
    // (The dialog's layout sets its own minimum size: the field carries the width.)
    QFont titleFont = dialog.font();
    titleFont.setBold(true);
    const int titleRoom = QFontMetrics(titleFont).horizontalAdvance(caption) * 5 / 4 + 80;
    if (auto* field = dialog.findChild<QLineEdit*>()) {
        field->setMinimumWidth(titleRoom);
        // The field takes no more than the name may hold, as the layer dialog's does.
        if (maxLength > 0)
            field->setMaxLength(maxLength);
    }
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : defaultText;
}
