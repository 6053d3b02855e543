/* A library for the loader tests: two exports with known answers. */
int probe_answer(void) {
  return 42;
}

const char* probe_name(void) {
  return "alpha";
}
