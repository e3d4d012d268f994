// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Asks the sound server its name through the PulseAudio client library, which Qt's sound code
// has loaded already; the executable does not link it itself.

#include "soundserver.h"

#include <dlfcn.h>

#include <chrono>
#include <cstring>

extern "C" {

struct pa_mainloop;
struct pa_mainloop_api;
struct pa_context;
struct pa_operation;
struct pa_spawn_api;
struct pa_server_info {   // the leading fields, all this reads
    const char *user_name;
    const char *host_name;
    const char *server_version;
    const char *server_name;
};
using serverInfoCallback = void (*)(pa_context *, const pa_server_info *, void *);

}

namespace {

enum { contextReady = 4, contextFailed = 5, contextTerminated = 6, noAutospawn = 1 };

template<typename Function>
Function library(const char *symbol)
{
    return reinterpret_cast<Function>(dlsym(RTLD_DEFAULT, symbol));
}

struct Answer {
    bool done = false;
    bool pipeWire = false;
};

}

bool soundServerIsPipeWire()
{
    const auto mainloopNew = library<pa_mainloop *(*)()>("pa_mainloop_new");
    const auto mainloopApi = library<pa_mainloop_api *(*)(pa_mainloop *)>("pa_mainloop_get_api");
    const auto prepare = library<int (*)(pa_mainloop *, int)>("pa_mainloop_prepare");
    const auto poll = library<int (*)(pa_mainloop *)>("pa_mainloop_poll");
    const auto dispatch = library<int (*)(pa_mainloop *)>("pa_mainloop_dispatch");
    const auto mainloopFree = library<void (*)(pa_mainloop *)>("pa_mainloop_free");
    const auto contextNew = library<pa_context *(*)(pa_mainloop_api *, const char *)>("pa_context_new");
    const auto connect = library<int (*)(pa_context *, const char *, int, const pa_spawn_api *)>(
            "pa_context_connect");
    const auto state = library<int (*)(pa_context *)>("pa_context_get_state");
    const auto serverInfo = library<pa_operation *(*)(pa_context *, serverInfoCallback, void *)>(
            "pa_context_get_server_info");
    const auto operationUnref = library<void (*)(pa_operation *)>("pa_operation_unref");
    const auto disconnect = library<void (*)(pa_context *)>("pa_context_disconnect");
    const auto contextUnref = library<void (*)(pa_context *)>("pa_context_unref");
    if (!mainloopNew || !mainloopApi || !prepare || !poll || !dispatch || !mainloopFree || !contextNew
            || !connect || !state || !serverInfo || !operationUnref || !disconnect || !contextUnref)
        return false;

    pa_mainloop *loop = mainloopNew();
    pa_context *context = loop ? contextNew(mainloopApi(loop), "Quenvary") : nullptr;
    Answer answer;
    // Never starts a server (Qt may, as ever); a local one answers within milliseconds, and a
    // server that does not within a quarter of a second is taken for PulseAudio itself.
    if (context && connect(context, nullptr, noAutospawn, nullptr) == 0) {
        using clock = std::chrono::steady_clock;
        const auto deadline = clock::now() + std::chrono::milliseconds(250);
        bool asked = false;
        while (!answer.done) {
            const int now = state(context);
            if (now == contextFailed || now == contextTerminated)
                break;
            if (now == contextReady && !asked) {
                asked = true;
                const auto callback = [](pa_context *, const pa_server_info *info, void *data) {
                    auto *answer = static_cast<Answer *>(data);
                    answer->done = true;
                    answer->pipeWire = info && info->server_name
                                       && std::strstr(info->server_name, "PipeWire");
                };
                if (pa_operation *operation = serverInfo(context, callback, &answer))
                    operationUnref(operation);
                else
                    break;
            }
            const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - clock::now());
            if (left.count() <= 0 || prepare(loop, int(left.count())) < 0 || poll(loop) < 0
                    || dispatch(loop) < 0)
                break;
        }
        disconnect(context);
    }
    if (context)
        contextUnref(context);
    if (loop)
        mainloopFree(loop);
    return answer.pipeWire;
}
