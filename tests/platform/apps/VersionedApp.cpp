// A program that only carries a version resource (VersionedApp.rc): the
// discovery tests copy it into program folders under several names.
int main() {
    return 0;
}
