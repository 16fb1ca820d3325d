#ifndef TAVEL_ENGINE_TEST_H_
#define TAVEL_ENGINE_TEST_H_

#include "engine_export.h"

namespace tavel {

class ENGINE_API EngineTest {
 public:
  static int ExecuteOpenglTest();
};

}  // namespace tavel

#endif  // TAVEL_ENGINE_TEST_H_
