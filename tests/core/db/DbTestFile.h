// A fresh database file built from the delivered schema in a per-test board root, as the programs
// see it: "\Quellora.db". Raw SQLite connections of the test's own play the other users of the file
// (a writer holding its lock, a reader in the middle of a transaction) and check what was committed.
#pragma once

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "CDbAccess.h"
#include "RawDb.h"
#include "TempRoot.h"

// Lets failure messages show texts rather than pointers.
inline void PrintTo(const CString& text, std::ostream* os) { *os << '"' << text.ToUtf8() << '"'; }

namespace dbtest {

inline std::string ReadSchema() {
  std::ifstream in(std::string(QUELLORA_SOURCE_DIR) + "/resources/db/schema.sql");
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

using testing_support::RawDb;

class DbTestFile {
public:
  DbTestFile() {
    RawDb db(Path(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    EXPECT_EQ(db.Exec(ReadSchema()), SQLITE_OK);
  }
  // The file as the programs name it.
  static const char16_t* CePath() { return u"\\Quellora.db"; }
  std::string Path() const { return m_root / "Quellora.db"; }
  const testing_support::TempRoot& Root() const { return m_root; }

private:
  testing_support::TempRoot m_root;
};

// Pooled connections wait 10 s on a locked file; a test that provokes busy shortens that on each.
inline void ShortenBusyTimeouts(CDbAccess& db, int milliseconds) {
  std::vector<CDbConnection*> lent;
  while (CDbConnection* c = db.GetPool()->GetConnection(false)) {
    c->Db().SetBusyTimeout(milliseconds);
    lent.push_back(c);
  }
  for (CDbConnection* c : lent) db.GetPool()->ReleaseConnection(c);
}

}  // namespace dbtest
