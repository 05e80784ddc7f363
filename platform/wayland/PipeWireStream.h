#pragma once

#include "platform/Status.h"
#include "platform/wayland/CastFrames.h"

#include <pipewire/pipewire.h>
#include <spa/param/video/format-utils.h>

#include <cstdint>
#include <memory>

// A PipeWire video stream of one node, read on a thread of PipeWire's own
// into CastFrames: raw pictures in shared memory, blue first in memory,
// which is also what is asked for first (red-first pictures are swapped).
class PipeWireStream {
public:
    // Takes `connection`, a descriptor of a PipeWire connection (the
    // portal's), and closes it in every case.
    static Status open(int connection, uint32_t node, CastFrames& frames, std::unique_ptr<PipeWireStream>& stream);
    ~PipeWireStream();
    PipeWireStream(const PipeWireStream&) = delete;
    PipeWireStream& operator=(const PipeWireStream&) = delete;

private:
    explicit PipeWireStream(CastFrames& frames);
    Status connect(int connection, uint32_t node);

    static void stateChanged(void* self, pw_stream_state old, pw_stream_state state, const char* error);
    static void paramChanged(void* self, uint32_t id, const spa_pod* param);
    static void process(void* self);
    static void coreError(void* self, uint32_t id, int seq, int result, const char* message);
    void copy(const spa_buffer& buffer);

    CastFrames& frames_;
    pw_thread_loop* loop_ = nullptr;
    pw_context* context_ = nullptr;
    pw_core* core_ = nullptr;
    pw_stream* stream_ = nullptr;
    spa_hook coreListener_ {};
    spa_hook streamListener_ {};
    // What the producer negotiated; touched on PipeWire's thread only.
    spa_video_info_raw format_ {};
    bool redFirst_ = false;
};
