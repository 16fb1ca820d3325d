{
  "variables": {
    "sanitize%": 0,
    # 1 in a development clone (scripts/build.js sets it): the bench-only modules.
    "bench%": 0,
    # A real engine SDK folder (include/, lib/, and bin/ on Windows) to build
    # against instead of the stand-in: npm config engine_sdk=<folder>.
    "engine_sdk%": "",
    "addon_api_include": "<!(node -p \"require('node-addon-api').include_dir\")"
  },
  "target_defaults": {
    "defines": [
      "NAPI_VERSION=8",
      "NAPI_DISABLE_CPP_EXCEPTIONS",
      "NODE_ADDON_API_DISABLE_DEPRECATED",
      "NODE_API_NO_EXTERNAL_BUFFERS_ALLOWED",
      "NODE_API_SWALLOW_UNTHROWABLE_EXCEPTIONS"
    ],
    "conditions": [
      ["OS!='win'", {
        "cflags_cc": ["-std=c++17", "-Wall", "-Wextra"],
        "cflags_cc!": ["-std=gnu++17", "-std=gnu++1y", "-std=gnu++20"]
      }],
      ["OS=='win'", {
        # Node's common.gypi already sets C++17, /EHsc off and _HAS_EXCEPTIONS=0.
        "defines": ["NOMINMAX", "WIN32_LEAN_AND_MEAN", "_CRT_SECURE_NO_WARNINGS", "UNICODE", "_UNICODE"],
        "msvs_settings": {
          "VCCLCompilerTool": {
            "AdditionalOptions": ["/utf-8", "/W4"]
          }
        }
      }],
      ["sanitize==1", {
        "cflags": ["-fsanitize=address,undefined", "-fno-omit-frame-pointer", "-fno-sanitize-recover=undefined"],
        "cflags_cc": ["-fsanitize=address,undefined", "-fno-omit-frame-pointer", "-fno-sanitize-recover=undefined"],
        "ldflags": ["-fsanitize=address,undefined"]
      }]
    ]
  },
  "targets": [
    {
      "target_name": "lumen_engine_addon",
      "type": "loadable_module",
      "product_extension": "node",
      "product_prefix": "",
      "include_dirs": ["<(addon_api_include)", "src"],
      "sources": ["<!@(node scripts/sources.js src <(OS))"],
      "conditions": [
        ["engine_sdk==''", {
          "dependencies": ["live_engine_shared"]
        }, {
          "include_dirs": ["<(engine_sdk)/include"],
          "conditions": [
            ["OS=='win'", {
              "libraries": ["<(engine_sdk)/lib/live_engine_shared.lib"],
              # Windows looks for a module's DLLs beside it when Node loads it by path.
              "copies": [{ "destination": "<(PRODUCT_DIR)", "files": ["<(engine_sdk)/bin/live_engine_shared.dll"] }]
            }, {
              "libraries": ["-L<(engine_sdk)/lib", "-llive_engine_shared", "-Wl,-rpath,'$$ORIGIN'"],
              "copies": [{ "destination": "<(PRODUCT_DIR)", "files": ["<(engine_sdk)/lib/liblive_engine_shared.so"] }]
            }]
          ]
        }],
        ["OS=='win'", {
          "libraries": ["advapi32.lib", "shell32.lib"]
        }],
        ["OS=='linux'", {
          # Never unloaded: Node closes a module when the worker that loaded it
          # ends, while engine threads may still run its code. On Windows the
          # module pins itself (src/win/platform_utils_win.cc).
          "ldflags": ["-Wl,-z,nodelete"]
        }]
      ]
    }
  ],
  "conditions": [
    # The stand-in engine library and its control module (sim/).
    ["engine_sdk==''", {
      "targets": [{
        "target_name": "live_engine_shared",
        "type": "shared_library",
        "include_dirs": ["standin/include", "standin/src"],
        "defines": ["LIVE_ENGINE_SHARED_IMPLEMENTATION"],
        "sources": ["<!@(node scripts/sources.js standin/src <(OS))"],
        "direct_dependent_settings": {
          "include_dirs": ["standin/include"]
        }
      }, {
        "target_name": "lumen_engine_sim",
        "type": "loadable_module",
        "product_extension": "node",
        "product_prefix": "",
        "dependencies": ["live_engine_shared"],
        "include_dirs": ["<(addon_api_include)", "standin/src"],
        "sources": ["<!@(node scripts/sources.js standin/control <(OS))"],
        "conditions": [
          ["OS=='linux'", { "ldflags": ["-Wl,-z,nodelete"] }]
        ]
      }]
    }],
    # Benchmarks only (bench/), never in an installed package or the sanitizer build.
    ["bench==1 and engine_sdk==''", {
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
