#include "engine/media_player_callback.h"

namespace lumen_addon {

namespace {
EventArg I(int v) { return Arg(int32_t{v}); }
}  // namespace

void MediaPlayerCallbackImpl::OnPrepared(int id) { Post("onPrepared", Args(I(id))); }
void MediaPlayerCallbackImpl::OnInfo(int id, int what, int extra) { Post("onInfo", Args(I(id), I(what), I(extra))); }
void MediaPlayerCallbackImpl::OnError(int id, int code, int extra) { Post("onError", Args(I(id), I(code), I(extra))); }
void MediaPlayerCallbackImpl::OnSeekComplete(int id) { Post("onSeekComplete", Args(I(id))); }
void MediaPlayerCallbackImpl::OnCompletion(int id) { Post("onCompletion", Args(I(id))); }
void MediaPlayerCallbackImpl::OnDecodingOneFrameElapsed(int id, int ms) {
  Post("onDecodingOneFrameElapsed", Args(I(id), I(ms)));
}
void MediaPlayerCallbackImpl::OnOpenFileFailed(int id, const std::string& file) {
  Post("onOpenFileFailed", Args(I(id), Arg(file)));
}
void MediaPlayerCallbackImpl::OnBellCompletion(const std::string& file) { Post("onBellCompletion", Args(Arg(file))); }

}  // namespace lumen_addon
