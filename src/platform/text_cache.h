// Inside the platform layer: the switch of the text cache (text.cpp), for the benchmarks that
// measure the level numbers of a full board drawn with and without it. The game never turns the
// cache off.
#pragma once

namespace plat::detail {

// With the cache off every text is rendered anew and nothing is kept; on by default.
void setTextCacheEnabled(bool enabled);

}  // namespace plat::detail
