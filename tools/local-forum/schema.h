// The tables of the forum and their creation.
#pragma once

#include "database.h"

#include <string>

namespace forum {

// Schema version stored in PRAGMA user_version once a database is complete.
constexpr int kSchemaVersion = 1;

bool CreateSchema(Database& db, std::string& error);

}  // namespace forum
