// Reading the personal-centre answers: albums, follows, the generic record
// lines, and the coin counts whose shape varies between servers.
#pragma once

#include <cstdint>
#include <optional>

#include "api/json_read.h"
#include "api/personal_records.h"

AlbumEntry ReadAlbumEntry(const JsonValue& entry);
bool KeepAlbumEntry(const AlbumEntry& album);
FollowEntry ReadFollowEntry(const JsonValue& entry);
bool KeepFollowEntry(const FollowEntry& user);

// The kind by the keys present, before the late correction.
int32_t RecordKindOf(const JsonValue& entry);
// One object entry: kind, numbers, title, summary and details.
RecordLine SummarizeRecord(const JsonValue& entry);
// Any other value: every text is the value's display form.
RecordLine ScalarRecord(const JsonValue& value);
// A record list's "data" in any of its shapes (array, paged object, single
// object, scalar); never fails.
PersonalListPage ParsePersonalList(const JsonValue& data, int32_t pageNum, int32_t pageSize);

// A count: an integer, or an object whose first of "balance", "count",
// "total", "value", "num" is an integer. Fractions and numeric texts do
// not count.
std::optional<int32_t> ReadCount(const JsonValue* data);
