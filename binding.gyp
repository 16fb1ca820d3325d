{
  "variables": {
    "sanitize%": 0,
    "addon_api_include": "<!(node -p \"require('node-addon-api').include_dir\")"
  },
  "target_defaults": {
    "cflags_cc": ["-std=c++17", "-Wall", "-Wextra"],
    "cflags_cc!": ["-std=gnu++17", "-std=gnu++1y", "-std=gnu++20"],
    "defines": [
      "NAPI_VERSION=8",
      "NAPI_DISABLE_CPP_EXCEPTIONS",
      "NODE_ADDON_API_DISABLE_DEPRECATED",
      "NODE_API_NO_EXTERNAL_BUFFERS_ALLOWED",
      "NODE_API_SWALLOW_UNTHROWABLE_EXCEPTIONS"
    ],
    "conditions": [
      ["sanitize==1", {
        "cflags": ["-fsanitize=address,undefined", "-fno-omit-frame-pointer", "-fno-sanitize-recover=undefined"],
        "cflags_cc": ["-fsanitize=address,undefined", "-fno-omit-frame-pointer", "-fno-sanitize-recover=undefined"],
        "ldflags": ["-fsanitize=address,undefined"]
      }]
    ]
  },
  "targets": [
    {
      "target_name": "live_engine_shared",
      "type": "shared_library",
      "include_dirs": ["standin/include", "standin/src"],
      "defines": ["LIVE_ENGINE_SHARED_IMPLEMENTATION"],
      "sources": ["<!@(node scripts/sources.js standin/src)"],
      "direct_dependent_settings": {
        "include_dirs": ["standin/include"]
      }
    },
    {
      "target_name": "lumen_engine_addon",
      "type": "loadable_module",
      "product_extension": "node",
      "product_prefix": "",
      "dependencies": ["live_engine_shared"],
      "include_dirs": ["<(addon_api_include)", "src"],
      "sources": ["<!@(node scripts/sources.js src)"],
      # Never unloaded: Node closes a module when the worker that loaded it
      # ends, while engine threads may still run its code.
      "ldflags": ["-Wl,-z,nodelete"]
    },
    {
      "target_name": "lumen_engine_sim",
      "type": "loadable_module",
      "product_extension": "node",
      "product_prefix": "",
      "dependencies": ["live_engine_shared"],
      "include_dirs": ["<(addon_api_include)", "standin/src"],
      "sources": ["<!@(node scripts/sources.js standin/control)"],
      "ldflags": ["-Wl,-z,nodelete"]
    }
  ],
  # Benchmarks only (bench/); the sanitizer build's mirror of the tree has no bench/.
  "conditions": [
    ["sanitize==0", {
      "targets": [{
        "target_name": "lumen_engine_bench",
        "type": "loadable_module",
        "product_extension": "node",
        "product_prefix": "",
        "dependencies": ["live_engine_shared"],
        "include_dirs": ["standin/src"],
        "sources": ["bench/native/bench_addon.cc"]
      }, {
        "target_name": "lumen_engine_bench_player",
        "type": "loadable_module",
        "product_extension": "node",
        "product_prefix": "",
        "dependencies": ["live_engine_shared"],
        "include_dirs": ["<(addon_api_include)", "standin/src"],
        "sources": ["bench/native/bench_player.cc"]
      }]
    }]
  ]
}
