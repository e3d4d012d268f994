// SPDX-FileCopyrightText: 2026 The Quenvary developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Qt names each sound stream after the process id and an address ("QtPulseSample-4711-0x55…"),
// which is what a sound mixer would list. These two entry points of the PulseAudio client
// library stand in front of the library's own and hand it the game's name instead; the
// executable exports them, so Qt's calls reach them first.

#include <dlfcn.h>

extern "C" {

struct pa_context;
struct pa_sample_spec;
struct pa_channel_map;
struct pa_proplist;
struct pa_stream;

using streamNew = pa_stream *(*)(pa_context *, const char *, const pa_sample_spec *,
                                 const pa_channel_map *);
using streamNewWithProplist = pa_stream *(*)(pa_context *, const char *, const pa_sample_spec *,
                                             const pa_channel_map *, pa_proplist *);

}

namespace {

const char *const streamName = "Quenvary";

template<typename Function>
Function libraryOwn(const char *symbol)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, symbol));
}

}

extern "C" {

pa_stream *pa_stream_new(pa_context *context, const char *, const pa_sample_spec *format,
                         const pa_channel_map *map)
{
    static const auto own = libraryOwn<streamNew>("pa_stream_new");
    return own ? own(context, streamName, format, map) : nullptr;
}

pa_stream *pa_stream_new_with_proplist(pa_context *context, const char *, const pa_sample_spec *format,
                                       const pa_channel_map *map, pa_proplist *properties)
{
    static const auto own = libraryOwn<streamNewWithProplist>("pa_stream_new_with_proplist");
    return own ? own(context, streamName, format, map, properties) : nullptr;
}

}
