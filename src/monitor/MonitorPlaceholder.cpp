// Holds the library together until the probe and the engine arrive.
