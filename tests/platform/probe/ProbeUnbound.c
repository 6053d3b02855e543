/* Calls a function that no library defines. Its reference stays unbound
 * until the first call if the loader allows that; an eager loader refuses
 * the library. */
int probe_function_defined_nowhere(void);

int probe_answer(void) {
  return probe_function_defined_nowhere();
}
