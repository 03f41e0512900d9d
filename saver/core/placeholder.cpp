namespace halvane_placeholder { int unused = 0; }
