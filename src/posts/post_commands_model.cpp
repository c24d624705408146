#include "posts/post_commands_model.h"

#include "api/api_client.h"
#include "posts/post_detail_results.h"

namespace {

wxString U8(const char* text) { return wxString::FromUTF8(text); }

const char* Pick(bool on, const char* whenOn, const char* whenOff) { return on ? whenOn : whenOff; }

}  // namespace

std::vector<PostMenuItem> BuildPostMenu(const PostDetail& post, bool managerFlag, bool allowOnlyOp) {
    using namespace postcmd;
    std::vector<PostMenuItem> items{{kReport, U8("举报")}};
    if (allowOnlyOp) items.push_back({kOnlyOp, U8("只看楼主")});
    items.push_back({kMessage, U8("发送站内消息给他")});
    if (post.isOwner || managerFlag) {
        items.push_back({kSeparator, wxString()});
        items.push_back({kEdit, U8("修改")});
    }
    if (!managerFlag) return items;
    items.push_back({kDelete, U8("删除帖子")});
    items.push_back({kMove, U8("移动")});
    items.push_back({kShield, U8(Pick(post.status != 0, "取消屏蔽", "屏蔽"))});
    items.push_back({kEssence, U8(Pick(post.essence, "取消精华", "设为精华"))});
    items.push_back({kTop, U8(Pick(post.top, "取消置顶", "置顶"))});
    items.push_back({kTopAll, U8(Pick(post.topAll, "取消全局置顶", "全局置顶"))});
    items.push_back({kSink, U8(Pick(post.sink, "取消沉底", "沉底"))});
    items.push_back({kLock, U8(Pick(post.lock, "取消锁定", "锁定"))});
    items.push_back({kSilence, U8("禁言48小时")});
    items.push_back({kBan, U8("永久封禁")});
    return items;
}

PostCommandPlan PlanPostCommand(int id, const PostDetail& post) {
    using namespace postcmd;
    PostCommandPlan p;
    p.id = id;
    p.need = CommandNeed::Manager;
    // Switches: the success text says what the request set, chosen from
    // the state before it.
    auto toggle = [&](bool wasOn, const char* onText, const char* offText) {
        p.successText = U8(wasOn ? offText : onText);
        p.endCode = RESULT_POST_CHANGED;
    };
    switch (id) {
    case kReport:
        p.need = CommandNeed::Session;
        p.input = CommandInput::Text;
        p.caption = U8("举报帖子");
        p.message = U8("请输入举报原因。");
        p.emptyNotice = U8("举报原因不能为空。");
        p.successText = U8("举报已提交。");
        break;
    case kOnlyOp:
        p.need = CommandNeed::Nothing;
        p.endCode = RESULT_ONLY_OP;
        break;
    case kMessage:
        p.need = CommandNeed::Session;
        p.needsAuthor = true;
        p.input = CommandInput::Text;
        p.caption = U8("发送站内消息");
        p.message = U8("请输入站内消息内容。");
        p.emptyNotice = U8("消息内容不能为空。");
        p.successText = U8("站内消息发送成功。");
        break;
    case kEdit:
        p.need = CommandNeed::OwnerOrManager;
        p.endCode = RESULT_POST_CHANGED;
        break;
    case kDelete:
        p.input = CommandInput::Question;
        p.caption = U8("删除帖子");
        p.message = wxString::Format(U8("确定要删除帖子《%s》吗？"), post.title);
        p.successText = U8("帖子删除成功。");
        p.endCode = RESULT_POST_CHANGED;
        break;
    case kMove:
        p.input = CommandInput::Section;
        p.caption = U8("移动帖子");
        p.message = U8("请选择目标版块。");
        p.emptyNotice = U8("当前没有可用版块。");
        p.successText = U8("帖子移动成功。");
        p.endCode = RESULT_POST_CHANGED;
        break;
    case kShield: toggle(post.status != 0, "帖子已屏蔽。", "帖子已取消屏蔽。"); break;
    case kEssence: toggle(post.essence, "已设为精华。", "已取消精华。"); break;
    case kTop: toggle(post.top, "已置顶帖子。", "已取消置顶。"); break;
    case kTopAll: toggle(post.topAll, "已设为全局置顶。", "已取消全局置顶。"); break;
    case kSink: toggle(post.sink, "帖子已沉底。", "已取消沉底。"); break;
    case kLock: toggle(post.lock, "帖子已锁定。", "已取消锁定。"); break;
    case kSilence:
        p.needsAuthor = true;
        p.input = CommandInput::Question;
        p.caption = U8("禁言用户");
        p.message = wxString::Format(U8("确定要禁言用户“%s”48小时吗？"), post.userName);
        p.successText = U8("用户已禁言48小时。");
        break;
    case kBan:
        p.needsAuthor = true;
        p.input = CommandInput::WarningQuestion;
        p.caption = U8("永久封禁");
        p.message = wxString::Format(U8("确定要永久封禁用户“%s”吗？"), post.userName);
        p.successText = U8("用户已永久封禁。");
        break;
    default:
        p.id = 0;
        break;
    }
    return p;
}

bool CommandAllowed(CommandNeed need, bool signedIn, bool isOwner, bool managerFlag) {
    switch (need) {
    case CommandNeed::Nothing: return true;
    case CommandNeed::Session: return signedIn;
    case CommandNeed::OwnerOrManager: return signedIn && (isOwner || managerFlag);
    case CommandNeed::Manager: return signedIn && managerFlag;
    }
    return false;
}

wxString UnknownAuthorText() { return U8("无法确定帖子作者。"); }
wxString ReopenMenuText() { return U8("请重新打开帖子操作菜单。"); }

wxString ResultFailureText(const ApiResult& result) {
    if (result.debugInfo.empty()) return result.message;
    return result.message + U8("\n\n调试信息：\n") + result.debugInfo;
}

int SectionIndex(const std::vector<SectionInfo>& sections, int32_t sectionId) {
    for (size_t i = 0; i < sections.size(); ++i)
        if (sections[i].id == sectionId) return static_cast<int>(i);
    return -1;
}

ApiResult SendPostCommand(const ApiClient& client, const wxString& token, const wxString& cookies,
                          const PostDetail& post, int id, const CommandInputValue& input) {
    using namespace postcmd;
    const wxString& t = token;
    const wxString& c = cookies;
    switch (id) {
    case kReport: return client.ReportPost(t, c, post.id, input.text);
    case kMessage: return client.SendSiteMessage(t, c, post.userId, input.text);
    case kDelete: return client.DeletePost(t, c, post.id);
    case kMove: return client.MovePost(t, c, post.id, input.sectionId);
    case kShield: return client.SetShielded(t, c, post.id, post.status == 0);
    case kEssence: return client.SetEssence(t, c, post.id, !post.essence);
    case kTop: return client.SetTop(t, c, post.id, !post.top);
    case kTopAll:
        return client.SetTopAll(t, c, post.id, !post.topAll,
                                post.topAll ? std::vector<int32_t>{} : std::vector<int32_t>{post.sectionId});
    case kSink: return client.SetSunk(t, c, post.id, !post.sink);
    case kLock: return client.SetLocked(t, c, post.id, !post.lock);
    case kSilence: return client.SetSilenced(t, c, post.userId, true);
    case kBan: return client.SetBanned(t, c, post.userId, true);
    default: break;
    }
    return ApiResult{false, U8("未知的帖子操作。"), wxString()};
}
