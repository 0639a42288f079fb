int unused_support_symbol = 0;
