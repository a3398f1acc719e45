// The yardstick for `quillhaven-cli expand`: the npm package qfs-compression (a QFS decoder in
// JavaScript) decoding every compressed resource of a package, and the package's resources
// written out one after the other, uncompressed.
// node qfs_expand.cjs NODE_MODULES PACKAGE OUTPUT
'use strict';
const fs = require('fs');
const path = require('path');
const [modules, input, output] = process.argv.slice(2);
const { decompress } = require(path.join(modules, 'qfs-compression'));

const file = fs.readFileSync(input);
// The package header: entry count at 36, index offset at 40, index minor version at 60 (2: a
// second instance id, 24-byte entries).
const count = file.readUInt32LE(36);
const indexAt = file.readUInt32LE(40);
const width = file.readUInt32LE(60) === 2 ? 24 : 20;
const out = fs.openSync(output, 'w');
let compressed = 0;
for (let i = 0; i < count; ++i) {
  const entry = indexAt + i * width;
  const offset = file.readUInt32LE(entry + width - 8);
  const size = file.readUInt32LE(entry + width - 4);
  let data = file.subarray(offset, offset + size);
  // A compressed resource: its length, then the signature 10 FB.
  if (size > 9 && data[4] === 0x10 && data[5] === 0xfb) {
    data = decompress(data.subarray(4));
    ++compressed;
  }
  fs.writeSync(out, data);
}
fs.closeSync(out);
if (compressed === 0) process.exit(2);
