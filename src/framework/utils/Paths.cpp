// General helper functions.
