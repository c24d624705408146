#include "music/music_types.h"

bool IsValidPlayMode(int mode)
{
    return mode >= PlayInOrder && mode <= PlayRandom;
}

wxString PlayModeName(int mode)
{
    switch (mode) {
    case PlayRepeatOne: return wxString::FromUTF8("单曲循环");
    case PlayRepeatList: return wxString::FromUTF8("列表循环");
    case PlayReverse: return wxString::FromUTF8("倒序播放");
    case PlayRandom: return wxString::FromUTF8("随机播放");
    default: return wxString::FromUTF8("按顺序播放");
    }
}

wxString PlaylistSourceText()
{
    return wxString::FromUTF8("播放列表");
}
