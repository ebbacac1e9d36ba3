// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A blocking HTTP GET that cannot hang the program: it runs a local event
// loop (so windows stay painted; user input waits) and gives up on silence,
// on an overall deadline, on a body that is too big and on redirects that
// leave the host. TLS errors are never ignored.

#include <QByteArray>
#include <QUrl>
#include <optional>

namespace varnel {

struct FetchLimits {
    int silence_ms = 5000;         // no byte for this long: give up
    int deadline_ms = 15000;       // the whole fetch, redirects included
    qint64 max_bytes = 64 * 1024;  // a bigger body: give up
    int max_redirects = 3;         // each to the same host only
};

// The body of a 200 answer; nullopt on any failure.
std::optional<QByteArray> http_get(const QUrl& url, const FetchLimits& limits = {});

}  // namespace varnel
