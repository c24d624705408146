// Opening the database: a new (or unfinished) one gets the schema and the
// Chinese demo content the client is exercised with.
#pragma once

#include "database.h"
#include "options.h"

#include <string>

namespace forum {

bool PrepareDatabase(Database& db, const Options& options, std::string& error);

}  // namespace forum
