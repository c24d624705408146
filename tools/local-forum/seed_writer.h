// Helpers that write the demo content; times are hours after a fixed start
// (2026-11-01 08:00 China time) so every fresh database reads the same.
#pragma once

#include "database.h"
#include "seed_media.h"

#include <cstdint>
#include <map>
#include <string>

namespace forum {

// Seeded accounts, by id.
enum SeedUser : int {
    kUser = 1,      // ordinary member
    kAuthor = 2,    // writes the media and floor posts
    kManager = 3,   // manages several sections
    kAdmin = 4,     // site administrator
    kRain = 5,
    kNight = 6,
    kOrange = 7,
};

struct PostFlags {
    int views = 0;
    bool top = false, essence = false, sink = false, lock = false;
};

class SeedWriter {
public:
    SeedWriter(Database& db, std::map<std::string, int> files);

    std::int64_t At(double hours) const;
    int Post(int section, int user, const std::string& title, const std::string& body, double hours,
             PostFlags flags = {});
    int Reply(int post, int user, const std::string& body, double hours, int parent = 0);
    // Attaches a seeded file by key, when it could be made.
    void Media(int post, const char* kind, const std::string& fileKey, const std::string& desc,
               const std::string& coverKey = "");
    void Link(int post, const std::string& url, const std::string& desc);
    void Record(int user, const std::string& list, const std::string& json);
    Database& db() { return db_; }

private:
    Database& db_;
    std::map<std::string, int> files_;  // seed file key -> files.id
    std::int64_t base_;
};

// Posts that other seed data refers to.
struct SeedPostIds {
    int media = 0;     // two audio items, one video with cover, a file, a link
    int member = 0;    // priced resource post in the member section
};

// The posts, replies and attachments of every section.
SeedPostIds SeedPosts(SeedWriter& w);
// Record lists that complete the personal-centre pages of the demo accounts.
void SeedMoreRecords(SeedWriter& w, const SeedPostIds& ids);

}  // namespace forum
