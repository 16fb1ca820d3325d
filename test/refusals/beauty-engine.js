'use strict';
// Refusal texts and failure values of the beauty exports, as the
// contract words them (test/refusals.test.js says what each field means).
module.exports = {
  rows: {
    beautyEngine_applyBeautyManagerConfig: { message: 'Expect parameters:BeautyManagerConfig', failure: -1 },
    beautyEngine_syncCurrentState: { message: null },
    beautyEngine_setBeautyConfig: { message: 'Expect parameters: BeautyConfig', failure: -1 },
    beautyEngine_enableBeauty: { message: 'Expect parameters: enable', failure: -1 },
    beautyEngine_setBeautyParam: { message: 'Expect parameters: BeautyParam', failure: -1 },
    beautyEngine_setStickerPath: { message: 'Expect parameters: sticker path', failure: -1 },
    beautyEngine_setColorFilterPath: { message: 'Expect parameters: color filter path', failure: -1 },
    beautyEngine_setBackgroundBlur: { message: 'Expect parameters: enabled', failure: -1 },
    beautyEngine_setVirtualBackground: { message: 'Expect parameters: color filter path', failure: -1 },
  },
};
