// The demo forum's posts: enough of every kind for the client's views —
// a section longer than one page, pinned, featured, sunk and locked posts,
// a post with audio and video, floors that answer floors, and long bodies.
#include "seed_writer.h"

#include <string>
#include <vector>

namespace forum {
namespace {

const char* kChatTitles[] = {
    "新人报到，请多关照",           "有没有好用的有声书应用推荐",   "今天第一次独自坐地铁，记录一下",
    "分享一个煮咖啡的小窍门",       "周末去公园听鸟叫，心情很好",   "求助：手机读屏突然没有声音了",
    "大家平时怎么整理电脑里的文件", "推荐几本最近听完的小说",       "盲文点字机保养经验",
    "冬天到了，晨跑还要坚持吗",     "关于网购退货流程的一点体会",   "家里的智能音箱有什么玩法",
    "聊聊你最喜欢的广播节目",       "学做红烧肉，失败了三次",       "有人一起练习英语口语吗",
    "我的导盲杖换新了",             "请教：电子书格式怎么转换",     "最近天气变化大，注意保暖",
    "分享几个好听的白噪音",         "手机输入法哪个更顺手",         "老家寄来的柿子，太甜了",
    "记录：第一次参加线下读书会",   "想学吉他，零基础从哪开始",     "年底了，聊聊今年的小目标",
};

const int kChatAuthors[] = {kUser, kRain, kNight, kOrange, kAuthor};

std::string ChatBody(int i) {
    return std::string("这是综合讨论版的第 ") + std::to_string(i + 1) +
           " 个演示帖子。\n欢迎大家在楼下留言交流，说说自己的看法。";
}

void SeedChat(SeedWriter& w) {
    int n = 0;
    for (const char* title : kChatTitles) {
        PostFlags f;
        f.views = 15 + (n * 37) % 200;
        int post = w.Post(1, kChatAuthors[n % 5], title, ChatBody(n), 2.0 + n * 3, f);
        if (n % 3 == 0) w.Reply(post, kChatAuthors[(n + 1) % 5], "支持一下，写得很实在。", 3.0 + n * 3);
        if (n % 6 == 0) w.Reply(post, kChatAuthors[(n + 2) % 5], "同感，我也遇到过类似的情况。", 4.0 + n * 3);
        ++n;
    }
    PostFlags pinned{320, true, true, false, false};
    w.Post(1, kManager, "【置顶】综合讨论版版规与发帖指引",
           "发帖前请先阅读本版版规：\n一、友善交流，不发广告；\n二、求助帖请写清楚设备和软件版本；\n"
           "三、标题请概括内容，方便读屏用户快速浏览。",
           1, pinned);
    PostFlags sunk{40, false, false, true, false};
    w.Post(1, kRain, "【已沉底】去年的线上活动报名（已结束）", "活动已经结束，感谢大家参与。", 0.5, sunk);
    PostFlags locked{88, false, false, false, true};
    int post = w.Post(1, kNight, "【已锁定】关于版面调整的讨论（已结束）",
                      "讨论已经结束，结论见公告区，本帖锁定。", 5, locked);
    w.Reply(post, kUser, "赞成调整，新的分类更清楚。", 6);
}

int SeedMusic(SeedWriter& w) {
    PostFlags hot{520, false, true, false, false};
    int post = w.Post(2, kAuthor, "【试听】两段合成器小品与一段演奏视频",
                      "录了两段很短的小品，还有一段演奏现场的视频，\n大家可以直接在帖子里播放试听。\n"
                      "附件里有演奏说明，链接是曲谱的下载页。",
                      20, hot);
    w.Media(post, "audio", "audio1", "晨曦小品");
    w.Media(post, "audio", "audio2", "");  // no description: the file name stands in
    w.Media(post, "video", "video", "演奏现场", "cover");
    w.Media(post, "file", "notes", "演奏说明");
    w.Media(post, "image", "cover", "现场照片");
    w.Link(post, "https://example.com/scores/morning", "晨曦小品曲谱");
    int first = w.Reply(post, kUser, "第一段好清澈，像早上的阳光。", 21);
    w.Reply(post, kRain, "视频的声音也很干净，用的什么话筒？", 22);
    w.Reply(post, kAuthor, "谢谢喜欢！第二段是夜里录的，所以安静一些。", 23, first);
    w.Post(2, kNight, "推荐几首适合夜里听的钢琴曲", "最近循环的几首，安静不吵，适合睡前。\n欢迎补充。", 12,
           PostFlags{140});
    w.Post(2, kOrange, "大家用什么播放器听无损音乐", "想找一个对读屏友好的播放器，键盘操作方便的最好。", 15,
           PostFlags{60});
    return post;
}

void SeedScreenReaders(SeedWriter& w) {
    std::string longBody =
        "整理了 NVDA 与 Orca 常用快捷键的对照，按功能分组：朗读、导航、浏览模式、设置。"
        "两者的思路相近，但修饰键不同：NVDA 默认用 Insert 或大写锁定键，Orca 默认用小键盘的 Insert 或大写锁定键。"
        "下面逐项列出，有遗漏的地方欢迎在楼下补充，我会定期更新到一楼。";
    int post = w.Post(3, kAuthor, "NVDA 与 Orca 常用快捷键对照整理",
                      longBody + "\n\n朗读当前行：NVDA+上箭头 / Orca+上箭头\n朗读全部：NVDA+下箭头 / Orca+分号",
                      30, PostFlags{410, false, true, false, false});
    int a = w.Reply(post, kUser, "太有用了，收藏！", 31);
    int b = w.Reply(post, kRain,
                    "补充一条：Orca 的浏览模式和焦点模式切换是 Orca+A，\nNVDA 是 NVDA+空格。\n两个都容易按错。",
                    32);
    w.Reply(post, kAuthor, "谢谢补充，已经加到一楼了。", 33, b);
    w.Reply(post, kNight,
            "我用 Orca 三年了，说几点体会：第一，结构导航键（H 跳标题、K 跳链接、T 跳表格）一定要练熟，"
            "浏览网页会快很多；第二，Orca 的设置界面可以为每个应用单独保存配置，比如终端里关掉标点朗读；"
            "第三，遇到朗读卡顿时先检查是不是语音合成器的问题，换一个合成器往往就好了。",
            34);
    w.Reply(post, kOrange, "请问楼主，Linux 下的快捷键和 Windows 下完全一样吗？", 35);
    w.Reply(post, kAuthor, "大部分一样，\r\n个别和桌面环境冲突的需要改。", 36, a);
    w.Reply(post, kManager, "整理得很好，加精了。大家补充时请注明软件版本。", 37);

    int chain = w.Post(3, kRain, "楼层接龙：说说你最常用的读屏快捷键", "每人一楼，说一个你离不开的快捷键。", 40,
                       PostFlags{260});
    const char* keys[] = {"NVDA+T 读窗口标题", "Orca+F 读字体信息", "Ctrl 停止朗读", "NVDA+F7 元素列表",
                          "Orca+H 进入学习模式", "Alt+Tab 切换窗口", "NVDA+B 读整个窗口", "H 跳到下一个标题"};
    const int who[] = {kUser, kNight, kOrange, kAuthor, kManager};
    for (int i = 0; i < 23; ++i)
        w.Reply(chain, who[i % 5], std::string("我最常用的是：") + keys[i % 8] + "。", 41 + i * 0.5);
    w.Post(3, kOrange, "新手求助：读屏软件怎么调语速", "语速太快听不清，在哪里设置？", 45, PostFlags{33});
}

void SeedOthers(SeedWriter& w, SeedPostIds& ids) {
    w.Post(2014, kAdmin, "【公告】澄川论坛客户端测试版上线",
           "键盘和读屏优先的桌面客户端已经可以试用，欢迎在版务管理版反馈问题。", 0,
           PostFlags{900, true, false, false, false});
    w.Post(2014, kManager, "【通知】年底服务器维护安排", "本月底将进行一次服务器维护，届时论坛会短暂无法访问。", 60,
           PostFlags{150});
    w.Post(5, kManager, "版主工作交流：举报处理流程", "收到举报后请在一天内处理，处理结果在本帖登记。", 8,
           PostFlags{45});
    int resource = w.Post(7, kNight, "开源读屏软件与语音库下载汇总",
                          "整理了常用的开源读屏软件和语音库的官方下载地址，请从官方渠道下载。", 25, PostFlags{300});
    w.Link(resource, "https://www.nvaccess.org/download/", "NVDA 官方下载");
    w.Link(resource, "https://help.gnome.org/users/orca/stable/", "Orca 使用手册");
    w.Post(7, kUser, "求一份盲文对照表的电子版", "最好是可以直接用读屏朗读的文本格式。", 26, PostFlags{20});
    ids.member = w.Post(2016, kAuthor, "【会员资源】钢琴小品曲谱合集",
                        "包含十二首小品的曲谱和演奏提示，会员可下载。", 28, PostFlags{75});
    w.db().Prepare("UPDATE posts SET view_price = 5, goods_price = 30, attachment_price = 2, media_price = 3, "
                   "post_price = 8, is_resource = 1, media_download = 1, resource_type = 2, "
                   "download_type = '网盘下载', resource_desc = '十二首小品曲谱，含演奏提示。' WHERE id = ?")
        .Bind(1, ids.member).Run();
    w.Media(ids.member, "file", "notes", "演奏提示");
}

}  // namespace

SeedPostIds SeedPosts(SeedWriter& w) {
    SeedPostIds ids;
    SeedChat(w);
    ids.media = SeedMusic(w);
    SeedScreenReaders(w);
    SeedOthers(w, ids);
    return ids;
}

}  // namespace forum
