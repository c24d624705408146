// A realistic 20-post list answer and 20-floor reply answer, as the forum
// server sends them.
#pragma once

#include <string>

namespace apibench {

inline std::string PostListAnswer()
{
    std::string list;
    for (int i = 1; i <= 20; ++i) {
        if (i > 1) list += ",";
        list += R"({"id":)" + std::to_string(1000 + i) +
                R"(,"title":"澄川论坛第)" + std::to_string(i) +
                R"(个帖子：本地音乐播放器的快捷键汇总","userName":"听风的人)" + std::to_string(i) +
                R"(","createTime":"2026-12-0)" + std::to_string(i % 9 + 1) +
                R"( 08:30:00","createTimeCn":"12月)" + std::to_string(i % 9 + 1) +
                R"(日","replyCount":)" + std::to_string(i * 3) + R"(,"viewCount":)" +
                std::to_string(i * 97) + R"(,"top":)" + (i == 1 ? "1" : "0") + R"(,"essence":)" +
                (i % 5 == 0 ? "1" : "0") + R"(,"sectionId":3,"sectionName":"技术交流","avatar":"/img/a.png"})";
    }
    return R"({"code":0,"errMsg":"","data":{"pageNum":1,"pageSize":20,"pages":12,"total":233,"list":[)" +
           list + "]}}";
}

inline std::string ReplyListAnswer()
{
    std::string list;
    for (int i = 1; i <= 20; ++i) {
        if (i > 1) list += ",";
        list += R"({"id":)" + std::to_string(5000 + i) + R"(,"userId":)" + std::to_string(70 + i) +
                R"(,"parentId":)" + (i % 4 == 0 ? std::to_string(5000 + i - 1) : "0") +
                R"(,"floor":)" + std::to_string(i + 1) + R"(,"parentFloor":)" +
                (i % 4 == 0 ? std::to_string(i) : "0") + R"(,"userName":"回帖人)" + std::to_string(i) +
                R"(","body":"谢谢分享，这个方法在读屏软件下也很好用。第)" + std::to_string(i) +
                R"(楼\n换行之后还有一段。","createTime":"2026-12-07 09:1)" + std::to_string(i % 10) +
                R"(:00","isManager":)" + (i == 3 ? "1" : "0") + "}";
    }
    return R"({"code":0,"errMsg":"","data":{"pageNum":1,"pageSize":20,"pages":3,"total":55,"list":[)" +
           list + "]}}";
}

}  // namespace apibench
