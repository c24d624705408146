// The entry points of the audio libraries this layer calls, resolved from
// the libraries opened at run time. Only the platform's audio sources
// include this (and through it the libraries' headers).
#pragma once

#include <mpv/client.h>
#include <pulse/pulseaudio.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
}

struct MpvApi {
    decltype(&mpv_create) create;
    decltype(&mpv_set_option_string) set_option_string;
    decltype(&mpv_initialize) initialize;
    decltype(&mpv_set_wakeup_callback) set_wakeup_callback;
    decltype(&mpv_terminate_destroy) terminate_destroy;
    decltype(&mpv_command) command;
    decltype(&mpv_command_ret) command_ret;
    decltype(&mpv_free_node_contents) free_node_contents;
    decltype(&mpv_set_property) set_property;
    decltype(&mpv_set_property_string) set_property_string;
    decltype(&mpv_get_property) get_property;
    decltype(&mpv_get_property_string) get_property_string;
    decltype(&mpv_free) free;
    decltype(&mpv_observe_property) observe_property;
    decltype(&mpv_wait_event) wait_event;
    decltype(&mpv_wakeup) wakeup;
};

struct AvApi {
    decltype(&avformat_alloc_context) format_alloc_context;
    decltype(&avformat_open_input) format_open_input;
    decltype(&avformat_find_stream_info) format_find_stream_info;
    decltype(&avformat_close_input) format_close_input;
    decltype(&av_find_best_stream) find_best_stream;
    decltype(&av_read_frame) read_frame;
    decltype(&avio_size) io_size;
    decltype(&av_packet_alloc) packet_alloc;
    decltype(&av_packet_unref) packet_unref;
    decltype(&av_packet_free) packet_free;
    decltype(&av_packet_get_side_data) packet_get_side_data;
    decltype(&av_dict_set) dict_set;
    decltype(&av_dict_free) dict_free;
    decltype(&av_log_set_level) log_set_level;
};

struct PulseApi {
    decltype(&pa_threaded_mainloop_new) threaded_mainloop_new;
    decltype(&pa_threaded_mainloop_free) threaded_mainloop_free;
    decltype(&pa_threaded_mainloop_start) threaded_mainloop_start;
    decltype(&pa_threaded_mainloop_stop) threaded_mainloop_stop;
    decltype(&pa_threaded_mainloop_get_api) threaded_mainloop_get_api;
    decltype(&pa_context_new) context_new;
    decltype(&pa_context_unref) context_unref;
    decltype(&pa_context_connect) context_connect;
    decltype(&pa_context_disconnect) context_disconnect;
    decltype(&pa_context_get_state) context_get_state;
    decltype(&pa_context_set_state_callback) context_set_state_callback;
    decltype(&pa_context_set_subscribe_callback) context_set_subscribe_callback;
    decltype(&pa_context_subscribe) context_subscribe;
    decltype(&pa_context_get_server_info) context_get_server_info;
    decltype(&pa_operation_unref) operation_unref;
};

// Each loads its libraries on the first call (from any thread) and returns
// null while they cannot be loaded; a later call tries again.
const MpvApi* LoadMpv();
const AvApi* LoadAv();
const PulseApi* LoadPulse();
