'use strict';
// The module object is the add-on itself.
module.exports = require(require('./scripts/binary').addonPath());
