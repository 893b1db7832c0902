#include "dialup/dial_texts.h"

#include <gtest/gtest.h>

#include "platform/simulated_remote_access.h"

namespace quorlet {
namespace {

TEST(DialTexts, ProgressStatesAndUnknownOnes) {
    EXPECT_EQ(DialStateText(RasState::kOpenPort), "正在打开端口");
    EXPECT_EQ(DialStateText(RasState::kAuthenticate), "验证用户名和口令");
    EXPECT_EQ(DialStateText(RasState::kAuthNotify), "验证用户名和口令");
    EXPECT_EQ(DialStateText(17), "等待回拨");
    EXPECT_EQ(DialStateText(0x1003), "口令过期");
    EXPECT_EQ(DialStateText(RasState::kConnected), "已经连接");
    EXPECT_EQ(DialStateText(RasState::kDisconnected), "断开连接");
    EXPECT_EQ(DialStateText(18), "已经连接到设备");
    EXPECT_EQ(DialStateText(0x2002), "已经连接到设备");
}

TEST(DialTexts, ErrorTextIsFollowedDirectlyByTheCode) {
    SimulatedRemoteAccess ras;
    EXPECT_EQ(DialErrorText(ras, RasError::kNoAnswer), "远程计算机没有响应。错误代码为：678.");
    EXPECT_EQ(DialErrorText(ras, 9999), "未知的远程访问错误,错误代码为：9999.");
}

}  // namespace
}  // namespace quorlet
