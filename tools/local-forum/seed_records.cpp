// Record lists beyond the first ones, so that each of the first two demo
// accounts sees lines on every personal-centre page: both sides of a sale,
// purchases, questionnaires and crowdfunding for the author, and a bought
// post that names its post only by "postId".
#include "forum_rows.h"
#include "seed_writer.h"

namespace forum {

void SeedMoreRecords(SeedWriter& w, const SeedPostIds& ids) {
    const std::string member = std::to_string(ids.member), media = std::to_string(ids.media);
    const std::string own = std::to_string(
        w.db().Scalar(0, "SELECT id FROM posts WHERE user_id = ? AND section_id = 7 ORDER BY id LIMIT 1", int(kUser)));
    const std::string when = "\"createTime\":\"" + FormatTime(w.At(60)) + "\"";

    w.Record(kUser, "/api/post/buy-post",
             R"({"id":22,"postId":)" + media + R"(,"title":"【试听】两段合成器小品与一段演奏视频","name":"单帖购买","price":2.0,)" + when + "}");
    w.Record(kUser, "/api/post/sale-goods",
             R"({"id":63,"objectId":)" + own + R"(,"objectTitle":"求一份盲文对照表的电子版","goodsName":"盲文对照表打印版","userName":"听雨","payNum":1,)" + when + "}");
    w.Record(kUser, "/api/transaction/sale-attachment",
             R"({"id":53,"objectId":)" + own + R"(,"objectTitle":"盲文对照表.txt","userName":"夜航船","payNum":1,"amount":1,)" + when + "}");
    w.Record(kUser, "/api/crowdfund/order/my-channel", R"({"id":32,"channelName":"读屏快捷键手册印刷","amount":20,"count":1})");

    w.Record(kAuthor, "/api/question/mine", R"({"id":3,"questionId":103,"title":"演奏视频画质投票","reward":2,)" + when + "}");
    w.Record(kAuthor, "/api/post/buy-goods",
             R"({"id":12,"objectId":)" + own + R"(,"objectTitle":"求一份盲文对照表的电子版","goodsName":"盲文对照表打印版","payNum":1,"price":8.0,)" + when + "}");
    w.Record(kAuthor, "/api/post/buy-post",
             R"({"id":23,"objectId":)" + member + R"(,"objectTitle":"【会员资源】钢琴小品曲谱合集","payNum":1,"price":5.0,)" + when + "}");
    w.Record(kAuthor, "/api/crowdfund/order/my-channel", R"({"id":33,"channelName":"钢琴小品录音棚","amount":300,"count":12})");
}

}  // namespace forum
