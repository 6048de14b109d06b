#pragma once

namespace kestavel {

// The balloon tips of EditWindow.
inline constexpr const char* kHourWindowTip =
    "提示：\r\n"
    "    更新时间为网页文档自上次更新过后，时间节点在最少时间外至最多时间内的更新。\r\n"
    "时间节点以当前更新时的时间为准。即在本次更新时，如果本次更新的时间节点距离网\r\n"
    "页文档最后一次更新的时间在最少时间外，在最多时间内，则进行更新。\r\n"
    "    默认单位为小时，最多时间与最少时间之间的时间差最少为1小时。\r\n"
    "如果MOD已失效，则保留最后一次有效更新，不再更新失效文件。\r\n"
    "如最少时间和最多时间均为空或0，则默认在所有时间内。";
inline constexpr const char* kCopyTip = "复制到选定文件夹。";
inline constexpr const char* kPictureCheckTip = "检测是否有没下载过全图的MOD。";

}  // namespace kestavel
