// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "clap/ClapAbi.h"
#include "pluginterfaces/base/ibstream.h"

/// A CLAP input or output stream over a host's IBStream (borrowed for the
/// stream's life), so that CLAP state travels through the same streams as
/// VST3 state.
struct ClapInputStream : clap_istream_t {
    explicit ClapInputStream(Steinberg::IBStream& stream);
};

struct ClapOutputStream : clap_ostream_t {
    explicit ClapOutputStream(Steinberg::IBStream& stream);
};
