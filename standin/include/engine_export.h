#ifndef LIVE_ENGINE_SHARED_ENGINE_EXPORT_H_
#define LIVE_ENGINE_SHARED_ENGINE_EXPORT_H_

#if defined(_WIN32)
#if defined(LIVE_ENGINE_SHARED_IMPLEMENTATION)
#define ENGINE_API __declspec(dllexport)
#else
#define ENGINE_API __declspec(dllimport)
#endif
#else
#define ENGINE_API __attribute__((visibility("default")))
#endif

#endif  // LIVE_ENGINE_SHARED_ENGINE_EXPORT_H_
