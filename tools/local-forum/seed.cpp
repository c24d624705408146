#include "seed.h"

#include "forum_rows.h"
#include "post_input.h"
#include "schema.h"
#include "seed_writer.h"

#include <cstdio>
#include <ctime>
#include <tuple>

namespace forum {
namespace {

struct UserRow {
    int id;
    const char* mobile;
    const char* password;
    const char* name;
    const char* level;
    int point, coins, diamonds, gender, admin;
    double balance;
    const char* birth;
};

const UserRow kUsers[] = {
    {kUser, "13800000001", "user123", "小澄同学", "LV2", 120, 120, 8, 2, 0, 3.5, ""},
    {kAuthor, "13800000002", "author123", "澄川琴师", "LV5", 860, 560, 35, 1, 0, 12.5, "1995-06-18"},
    {kManager, "13800000003", "manager123", "版主阿澄", "LV6", 1500, 300, 20, 1, 0, 0, "1990-02-01"},
    {kAdmin, "13800000004", "admin123", "澄川站长", "LV9", 9999, 999, 99, 0, 1, 100, ""},
    {kRain, "13800000005", "demo123", "听雨", "LV3", 240, 10, 0, 2, 0, 0, ""},
    {kNight, "13800000006", "demo123", "夜航船", "LV4", 410, 50, 2, 1, 0, 0, ""},
    {kOrange, "13800000007", "demo123", "小橙子", "LV1", 30, 0, 0, 2, 0, 0, ""},
};

struct SectionRow {
    int id;
    const char* name;
    const char* description;
    int allowAdmin, resource;
};

const SectionRow kSections[] = {
    {2014, "论坛公告", "官方公告与站务通知", 0, 0},
    {1, "综合讨论", "闲聊、求助与日常分享", 0, 0},
    {2, "音乐欣赏", "分享喜欢的歌曲、演奏与录音", 0, 0},
    {3, "读屏软件交流", "", 0, 0},
    {7, "资源分享", "软件、教程与资料下载", 0, 1},
    {5, "版务管理", "版主事务与意见反馈", 1, 0},
    {2016, "会员专区", "会员资源与付费内容", 0, 1},
};

const int kManagedSections[] = {2014, 1, 2, 3, 5};

std::int64_t SeedBase() {
    std::tm tm{};
    tm.tm_year = 2026 - 1900;
    tm.tm_mon = 10;
    tm.tm_mday = 1;
    return static_cast<std::int64_t>(timegm(&tm));  // 08:00 China time
}

void SeedAccounts(SeedWriter& w) {
    for (const auto& u : kUsers)
        w.db().Prepare("INSERT INTO users(id, mobile, password, name, level, point, coins, diamonds, gender, "
                       "is_admin, balance, birth) VALUES(?,?,?,?,?,?,?,?,?,?,?,?)")
            .Bind(1, u.id).Bind(2, std::string(u.mobile)).Bind(3, std::string(u.password))
            .Bind(4, std::string(u.name)).Bind(5, std::string(u.level)).Bind(6, u.point).Bind(7, u.coins)
            .Bind(8, u.diamonds).Bind(9, u.gender).Bind(10, u.admin).Bind(11, u.balance)
            .Bind(12, std::string(u.birth)).Run();
    int sort = 0;
    for (const auto& s : kSections)
        w.db().Prepare("INSERT INTO sections(id, name, description, allow_admin, resource, sort) VALUES(?,?,?,?,?,?)")
            .Bind(1, s.id).Bind(2, std::string(s.name)).Bind(3, std::string(s.description))
            .Bind(4, s.allowAdmin).Bind(5, s.resource).Bind(6, sort++).Run();
    for (int s : kManagedSections)
        w.db().Prepare("INSERT INTO section_managers(section_id, user_id) VALUES(?,?)").Bind(1, s).Bind(2, int(kManager)).Run();
}

void SeedPersonal(SeedWriter& w, const SeedPostIds& ids) {
    for (auto [id, user, name] : {std::tuple{1, int(kAuthor), "钢琴小品集"}, std::tuple{2, int(kAuthor), "夜间电台"},
                                  std::tuple{3, int(kUser), "我的收藏"}})
        w.db().Prepare("INSERT INTO albums(id, user_id, name) VALUES(?,?,?)")
            .Bind(1, id).Bind(2, user).Bind(3, std::string(name)).Run();
    w.db().Prepare("UPDATE posts SET album_id = 1 WHERE id = ?").Bind(1, ids.media).Run();
    for (auto [from, to] : {std::pair{int(kUser), int(kAuthor)}, std::pair{int(kUser), int(kManager)},
                            std::pair{int(kAuthor), int(kManager)}})
        w.db().Prepare("INSERT INTO follows(user_id, followed_id) VALUES(?,?)").Bind(1, from).Bind(2, to).Run();
    struct Msg { int from, to; const char* text; double hours; };
    for (const Msg& m : {Msg{kManager, kUser, "欢迎来到澄川论坛！发帖前请先阅读综合讨论版的置顶版规。", 2},
                         Msg{kUser, kAuthor, "请问演奏视频是用什么设备录的？", 30},
                         Msg{kAuthor, kUser, "谢谢关注！用的是手机加一支小话筒，曲谱稍后发到资源区。", 31}})
        w.db().Prepare("INSERT INTO messages(from_user, to_user, content, created) VALUES(?,?,?,?)")
            .Bind(1, m.from).Bind(2, m.to).Bind(3, std::string(m.text)).Bind(4, w.At(m.hours)).Run();

    std::string member = std::to_string(ids.member), media = std::to_string(ids.media);
    std::string when = "\"createTime\":\"" + FormatTime(w.At(50)) + "\"";
    w.Record(kUser, "/api/question/mine", R"({"id":1,"questionId":101,"title":"读屏软件使用习惯调查","reward":5,)" + when + "}");
    w.Record(kUser, "/api/question/mine", R"({"id":2,"questionId":102,"title":"论坛无障碍体验反馈","reward":0,)" + when + "}");
    w.Record(kUser, "/api/post/buy-goods", R"({"id":11,"objectId":)" + member + R"(,"objectTitle":"【会员资源】钢琴小品曲谱合集","goodsName":"纸质曲谱一本","payNum":1,"price":30.0,)" + when + "}");
    w.Record(kUser, "/api/post/buy-post", R"({"id":21,"objectId":)" + member + R"(,"objectTitle":"【会员资源】钢琴小品曲谱合集","payNum":1,"price":5.0,)" + when + "}");
    w.Record(kUser, "/api/crowdfund/order/my-channel", R"({"id":31,"channelName":"无障碍播放器众筹","amount":50,"count":2})");
    w.Record(kUser, "/api/bill/my/zuanshi", R"({"id":41,"amount":10,"typeString":"签到奖励",)" + when + "}");
    w.Record(kUser, "/api/bill/my/zuanshi", R"({"id":42,"amount":-2,"typeString":"购买帖子",)" + when + "}");
    w.Record(kAuthor, "/api/transaction/sale-attachment", R"({"id":51,"objectId":)" + media + R"(,"objectTitle":"演奏说明.txt","userName":"小澄同学","payNum":1,"amount":2,)" + when + "}");
    w.Record(kAuthor, "/api/post/sale-goods", R"({"id":61,"objectId":)" + member + R"(,"objectTitle":"【会员资源】钢琴小品曲谱合集","goodsName":"纸质曲谱一本","userName":"小澄同学","payNum":1,)" + when + "}");
    w.Record(kAuthor, "/api/bill/my/zuanshi", R"({"id":71,"amount":5,"typeString":"出售附件",)" + when + "}");
}

}  // namespace

SeedWriter::SeedWriter(Database& db, std::map<std::string, int> files)
    : db_(db), files_(std::move(files)), base_(SeedBase()) {}

std::int64_t SeedWriter::At(double hours) const {
    return base_ + static_cast<std::int64_t>(hours * 3600);
}

int SeedWriter::Post(int section, int user, const std::string& title, const std::string& body, double hours,
                     PostFlags f) {
    db_.Prepare("INSERT INTO posts(section_id, user_id, title, body, summary, created, view_count, top, essence, "
                "sink, lock) VALUES(?,?,?,?,?,?,?,?,?,?,?)")
        .Bind(1, section).Bind(2, user).Bind(3, title).Bind(4, body).Bind(5, MakeSummary(body))
        .Bind(6, At(hours)).Bind(7, f.views).Bind(8, f.top ? 1 : 0).Bind(9, f.essence ? 1 : 0)
        .Bind(10, f.sink ? 1 : 0).Bind(11, f.lock ? 1 : 0).Run();
    return static_cast<int>(db_.LastInsertId());
}

int SeedWriter::Reply(int post, int user, const std::string& body, double hours, int parent) {
    int floor = static_cast<int>(db_.Scalar(0, "SELECT COALESCE(MAX(floor), 0) FROM replies WHERE post_id = ?", post)) + 1;
    db_.Prepare("INSERT INTO replies(post_id, user_id, parent_id, floor, body, created) VALUES(?,?,?,?,?,?)")
        .Bind(1, post).Bind(2, user).Bind(3, parent).Bind(4, floor).Bind(5, body).Bind(6, At(hours)).Run();
    int id = static_cast<int>(db_.LastInsertId());
    db_.Prepare("UPDATE posts SET reply_count = reply_count + 1, last_reply = MAX(last_reply, ?) WHERE id = ?")
        .Bind(1, At(hours)).Bind(2, post).Run();
    return id;
}

void SeedWriter::Media(int post, const char* kind, const std::string& fileKey, const std::string& desc,
                       const std::string& coverKey) {
    auto file = files_.find(fileKey);
    if (file == files_.end()) return;
    auto cover = files_.find(coverKey);
    int sort = static_cast<int>(db_.Scalar(0, "SELECT COUNT(*) FROM post_media WHERE post_id = ?", post));
    db_.Prepare("INSERT INTO post_media(post_id, kind, file_id, cover_id, descr, sort) VALUES(?,?,?,?,?,?)")
        .Bind(1, post).Bind(2, std::string(kind)).Bind(3, file->second)
        .Bind(4, cover == files_.end() ? 0 : cover->second).Bind(5, desc).Bind(6, sort).Run();
}

void SeedWriter::Link(int post, const std::string& url, const std::string& desc) {
    db_.Prepare("INSERT INTO post_links(post_id, url, descr) VALUES(?,?,?)").Bind(1, post).Bind(2, url).Bind(3, desc).Run();
}

void SeedWriter::Record(int user, const std::string& list, const std::string& json) {
    db_.Prepare("INSERT INTO records(user_id, list, json) VALUES(?,?,?)").Bind(1, user).Bind(2, list).Bind(3, json).Run();
}

bool PrepareDatabase(Database& db, const Options& options, std::string& error) {
    if (db.UserVersion() == kSchemaVersion) return true;
    std::vector<SeedFile> media;
    if (!options.noMedia) media = PrepareSeedMedia(options);
    if (!db.Exec("BEGIN", error)) return false;
    // An interrupted first start leaves version 0 behind: start over.
    for (const char* t : {"users", "sessions", "verify_codes", "sections", "section_managers", "files", "posts",
                          "top_all_sections", "post_media", "post_links", "replies", "complaints", "messages",
                          "albums", "follows", "records"})
        db.Exec(std::string("DROP TABLE IF EXISTS ") + t, error);
    if (!CreateSchema(db, error)) {
        db.Exec("ROLLBACK", error);
        return false;
    }
    std::map<std::string, int> fileIds;
    for (const auto& f : media) {
        db.Prepare("INSERT INTO files(user_id, kind, name, stored, size, created) VALUES(?,?,?,?,?,?)")
            .Bind(1, int(kAuthor)).Bind(2, f.kind).Bind(3, f.name).Bind(4, f.stored).Bind(5, f.size)
            .Bind(6, SeedBase()).Run();
        fileIds[f.key] = static_cast<int>(db.LastInsertId());
    }
    SeedWriter writer(db, fileIds);
    SeedAccounts(writer);
    SeedPostIds ids = SeedPosts(writer);
    SeedPersonal(writer, ids);
    SeedMoreRecords(writer, ids);
    if (!db.Exec("PRAGMA user_version = " + std::to_string(kSchemaVersion), error) || !db.Exec("COMMIT", error)) {
        std::string ignored;
        db.Exec("ROLLBACK", ignored);
        return false;
    }
    std::fprintf(stderr, "local-forum: seeded a new database (%zu media files)\n", media.size());
    return true;
}

}  // namespace forum
