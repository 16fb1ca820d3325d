#include "engine/media_player_callback.h"

namespace lumen_addon {

namespace {
EventArg I(int v) { return Arg(int32_t{v}); }
}  // namespace

void MediaPlayerCallbackImpl::OnPrepared(int id) { Post("onPrepared", {I(id)}); }
void MediaPlayerCallbackImpl::OnInfo(int id, int what, int extra) { Post("onInfo", {I(id), I(what), I(extra)}); }
void MediaPlayerCallbackImpl::OnError(int id, int code, int extra) { Post("onError", {I(id), I(code), I(extra)}); }
void MediaPlayerCallbackImpl::OnSeekComplete(int id) { Post("onSeekComplete", {I(id)}); }
void MediaPlayerCallbackImpl::OnCompletion(int id) { Post("onCompletion", {I(id)}); }
void MediaPlayerCallbackImpl::OnDecodingOneFrameElapsed(int id, int ms) {
  Post("onDecodingOneFrameElapsed", {I(id), I(ms)});
}
void MediaPlayerCallbackImpl::OnOpenFileFailed(int id, const std::string& file) {
  Post("onOpenFileFailed", {I(id), Arg(file)});
}
void MediaPlayerCallbackImpl::OnBellCompletion(const std::string& file) { Post("onBellCompletion", {Arg(file)}); }

}  // namespace lumen_addon
