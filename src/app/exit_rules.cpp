#include "app/exit_rules.h"

namespace quorlet {

ExitQuestion ChooseExitQuestion(bool recording, bool online) {
    if (recording) {
        return {"正在记录上网时间,提前退出将使记录不准确,真的要退出 ?", kTitleNotice,
                MessageIcon::Information};
    }
    if (online) {
        return {"当前已在线,退出将断开线路,真的要退出 ?", kTitleNotice, MessageIcon::Information};
    }
    return {"你真的要退出 ?", kTitleQuestion, MessageIcon::Question};
}

}  // namespace quorlet
