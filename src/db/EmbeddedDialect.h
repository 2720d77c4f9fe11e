#pragma once

#include "db/Dialect.h"
#include "db/TsqlTranslator.h"

namespace db {

// The embedded file (SQLite): the program's statements translated
// (TsqlTranslator), the schema from the catalog, the file's write lock for
// numbering. How a failure reads depends on the file more than on SQLite:
// SqliteFile words it.
class EmbeddedDialect final : public Dialect {
public:
    Backend Kind() const override { return Backend::Embedded; }
    QStringList SessionStatements() const override;
    QStringList SchemaDdl() const override;
    void TakeNumberingLock(const NativeRunner& run) const override;

    TsqlTranslator& Translator() { return translator_; }

private:
    TsqlTranslator translator_;
};

} // namespace db
