#include "app/QtPrompts.h"

#include "app/CzechMessageDialog.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QImageReader>
#include <QInputDialog>
#include <QLabel>

QString QtFileFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return filters.join(QStringLiteral(";;"));
}

Prompts::Button QtPrompts::Message(const QString& text, const QString& caption, Icon icon,
                                   Buttons buttons, Button defaultButton) {
    return CzechMessageDialog(caption, text, icon, buttons, defaultButton, 0, parent_);
}

QString QtPrompts::OpenFileName(const QString& filter) {
    // Qt's own dialog, so that a preview of the picked picture can sit beside the list.
    QFileDialog dialog(parent_, QStringLiteral("Otevřít"), QString(), QtFileFilter(filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    auto* preview = new QLabel(&dialog);
    preview->setFixedSize(220, 180);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(preview, 1, grid->columnCount(), 1, 1, Qt::AlignTop);
    QObject::connect(
        &dialog, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
            QImageReader reader(path);
            reader.setAutoTransform(true);
            const QSize size = reader.size();
            if (size.isValid())
                reader.setScaledSize(size.scaled(QSize(220, 180), Qt::KeepAspectRatio));
            const QImage image = reader.read();
            preview->setPixmap(image.isNull() ? QPixmap() : QPixmap::fromImage(image));
        });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::SaveFileName(const QString& defaultSuffix, const QString& filter) {
    QFileDialog dialog(parent_, QStringLiteral("Uložit jako"), QString(), QtFileFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A file of the chosen name is replaced without a question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

Colour QtPrompts::ChooseColour(Colour initial) {
    const QColor chosen =
        QColorDialog::getColor(QColor(RedOf(initial), GreenOf(initial), BlueOf(initial)), parent_);
    return chosen.isValid() ? Rgb(chosen.red(), chosen.green(), chosen.blue()) : NoColour;
}

QString QtPrompts::InputText(const QString& caption, const QString& prompt,
                             const QString& defaultText) {
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setCancelButtonText(QStringLiteral("Storno"));
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : defaultText;
}
