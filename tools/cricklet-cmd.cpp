// Placeholder; the headless command runner replaces it.
int main() {
    return 0;
}
