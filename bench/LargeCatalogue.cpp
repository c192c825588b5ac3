#include "LargeCatalogue.h"

#include "CatalogueScript.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <cstdio>

namespace bench {

QString LargeCatalogue() {
    const QString path =
        QCoreApplication::applicationDirPath() + QStringLiteral("/large-odrex.tom");
    if (!QFileInfo::exists(path)) {
        QFile schema(QStringLiteral(TINTORA_CATALOGUE_SCHEMA));
        schema.open(QIODevice::ReadOnly);
        const QString error = CatalogueScript::BuildDatabase(
            path, QString::fromUtf8(schema.readAll()), CatalogueScript::DemoRows(50000));
        if (!error.isEmpty())
            std::fprintf(stderr, "large catalogue: %s\n", qPrintable(error));
    }
    return path;
}

void OpenBareConnection(const QString& path, const QString& name) {
    QSqlDatabase bare = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), name);
    bare.setDatabaseName(path);
    bare.setUserName(QStringLiteral("SYSDBA"));
    bare.setPassword(QStringLiteral("pinewoods"));
    bare.setConnectOptions(QStringLiteral("ISC_DPB_LC_CTYPE=WIN1250;ISC_DPB_SQL_DIALECT=3"));
    bare.open();
}

} // namespace bench
