#include "music/audio_player_playback.h"

std::vector<PlaybackDevice> AudioPlayerPlayback::ListOutputDevices()
{
    std::vector<PlaybackDevice> devices;
    for (const OutputDevice& device : player_.ListOutputDevices()) {
        devices.push_back(PlaybackDevice{device.index, device.name});
    }
    return devices;
}
