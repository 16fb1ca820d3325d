'use strict';
// Device modules for the export fuzzer.
module.exports = {
  'device module': {
    made: ['deviceEngine_createDeviceModule'],
    create(addon) {
      return addon.deviceEngine_createDeviceModule({}, 'fuzz');
    },
    destroy(addon, handle) {
      addon.deviceEngine_destroyDeviceModule(handle);
    },
  },
};
