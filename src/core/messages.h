#pragma once
// Every message, caption and title the program shows, byte for byte, in one place.

#include <QString>

namespace korvanex::msg {

// A catalogue text as shown.
inline QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// Titles
inline constexpr const char* kSystemTitle = "系统提示";
inline constexpr const char* kWindowCaption = "Korvanex";
inline constexpr const char* kErrorTitle = "错误";

// Link
inline constexpr const char* kConnectDone = "设备连接完成!";
inline constexpr const char* kNoReply =
    "设备未响应!请检查设备状态以及USB接口是否松动，并重复当前操作一次以确保通信正常!";
inline constexpr const char* kCheckDevice =
    "请检查设备状态以及USB接口是否松动，并重复当前操作一次以确保通信正常!";
inline constexpr const char* kCommError = "通信发生异常!";
inline constexpr const char* kConnectFailed =
    "连接设备失败!请检查数据连接线是否接好,以及软件版本是否与设备配套!";
inline constexpr const char* kPortSetupFailed =
    "对不起，由于USB端口发生异常，请重新拔插USB,再启动软件界面!";
inline constexpr const char* kUsbNotConnected = "USB设备未连接电脑，请确认连接后重新启动软件界面!";
inline constexpr const char* kNotOnline = "设备未联机，此功能不可用!";
inline constexpr const char* kOnlineOnly = "此功能在联机状态下才可使用!";
inline constexpr const char* kEqModeParametric = "当前设备EQ模式为 参量均衡";
inline constexpr const char* kEqModeGraphic = "当前设备EQ模式为 图示均衡";

// Recall completions
inline constexpr const char* kMusicRecallDone = "音乐模式调用完成!";
inline constexpr const char* kMicARecallDone = "话筒A模式调用完成!";
inline constexpr const char* kEffectRecallDone = "效果模式调用完成!";
inline constexpr const char* kMicBRecallDone = "话筒B模式调用完成!";

// Files and saving
inline constexpr const char* kSaveDone = "数据保存完成!";
inline constexpr const char* kImportDone = "数据导入完成!";
inline constexpr const char* kSavedToPc = "参数已保存到电脑!";
inline constexpr const char* kBadFile =
    "此效果文件格式不正确.无法完成调用,请确认此效果文件是否为当前软件所保存的文件!";
inline constexpr const char* kFileFilter = "KTV文件(*.ktv)|*.ktv";
inline constexpr const char* kSaveFailed = "参数保存失败!";
inline constexpr const char* kFileOpenFailed = "文件打开失败!";
inline constexpr const char* kSaveDialogTitle = "保存在电脑";
inline constexpr const char* kOpenDialogTitle = "从电脑中调用";

// Window
inline constexpr const char* kExitQuestion = "你确定要退出系统吗?";
inline constexpr const char* kInvalidProperty = "无效属性值";

// Link status label and connect bar
inline constexpr const char* kStatusIdle = "未连接";
inline constexpr const char* kStatusConnected = "已连接";
inline constexpr const char* kStatusDisconnected = "已断开";
inline constexpr const char* kConnect = "连接";
inline constexpr const char* kDisconnect = "断开";

} // namespace korvanex::msg
