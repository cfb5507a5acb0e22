// Compiles the shared precompiled header once; the targets reuse it.
