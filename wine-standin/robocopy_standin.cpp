int wmain() { return 16; }
