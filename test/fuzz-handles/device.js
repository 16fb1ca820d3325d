'use strict';
// Device modules for the export fuzzer.
module.exports = {
  'device module': {
    create(addon) {
      return addon.deviceEngine_createDeviceModule({}, 'fuzz');
    },
    destroy(addon, handle) {
      addon.deviceEngine_destroyDeviceModule(handle);
    },
  },
};
