// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The audio formats besides MP3 whose tags name files: .flac, .ogg, .oga,
// .opus, .m4a, .m4b, .mp4, .ape, .wv, .mpc, .wma, .asf, .aiff, .aif, .wav
// and .dsf.

#include <string>
#include <string_view>

namespace varnel {

// True when the text after the last '.' of `name` is one of the
// extensions above, in any case of ASCII letters.
[[nodiscard]] bool is_other_audio_name(std::string_view name);

// The text after the last '.' of `name` with ASCII letters in lower case;
// empty when there is no '.'.
[[nodiscard]] std::string lower_extension(std::string_view name);

}  // namespace varnel
