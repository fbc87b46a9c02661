! The Fortran test solver's record: each routine writes one line naming the
! routine and everything it received, appended to the file named by the
! environment variable QUARNEL_JOURNAL (nothing is written without it).
!
! Line format: ROUTINE followed by " name=value" per argument, where
!   a text        name*L="bytes"        L = LEN(text, KIND=8), the hidden
!                                       length exactly as it arrived
!   a text array  name*L(n)=["..",".."]
!   an integer    name=I0
!   a real        name=the fewest digits that read back to the same bits
!   an array      name(n)=[v,...] or name(n1,n2)=[...], the shape the
!                 routine declared, values in Fortran array element order
! Bytes 0x20..0x7e stand as they are except " and \ (escaped with \); every
! other byte is \xhh. A text whose hidden length exceeds 4096 is recorded
! as name*L=? without reading its bytes.
module quarnel_record
  use, intrinsic :: iso_c_binding, only: c_char, c_funptr, c_null_char, &
                                         c_associated, c_f_procpointer
  implicit none
  private
  public :: begin, put, finish, relay, negate, text_of, keep_mesh, &
            forget_meshes, cells_of, faces_of, name_only, boundary_faces, &
            boundary_value, boundary_result, subbasin_result

  interface put
    module procedure put_text, put_texts, put_int, put_real, put_ints, &
                     put_reals, put_ints2, put_reals2
  end interface put

  interface negate
    module procedure negate1, negate2
  end interface negate

  abstract interface
    subroutine send_message(message) bind(C)
      import :: c_char
      character(kind=c_char), intent(in) :: message(*)
    end subroutine send_message
  end interface

  interface
    ! The bridge's sendMessageToJava, found at run time (relay_shim.c).
    function find_relay() bind(C, name='quarnel_find_relay') result(f)
      import :: c_funptr
      type(c_funptr) :: f
    end function find_relay
  end interface

  integer, parameter :: max_text = 4096, max_meshes = 8
  character(len=:), allocatable :: line
  ! Cell and face counts of each subbasin's geometry, by its 32-byte name.
  character(len=32) :: mesh_names(max_meshes)
  integer :: mesh_cells(max_meshes), mesh_faces(max_meshes)
  integer :: meshes = 0

contains

  subroutine begin(routine)
    character(len=*), intent(in) :: routine
    line = routine
  end subroutine begin

  subroutine finish()
    character(len=1024) :: path
    integer :: status, unit
    call get_environment_variable('QUARNEL_JOURNAL', path, status=status)
    if (status /= 0 .or. len_trim(path) == 0) return
    open (newunit=unit, file=trim(path), position='append', action='write', &
          status='unknown')
    write (unit, '(a)') line
    close (unit)
  end subroutine finish

  subroutine add(name, value)
    character(len=*), intent(in) :: name, value
    line = line//' '//name//'='//value
  end subroutine add

  function quoted(s) result(q)
    character(len=*), intent(in) :: s
    character(len=:), allocatable :: q
    character(len=*), parameter :: hex = '0123456789abcdef'
    integer :: i, c
    q = '"'
    do i = 1, len(s)
      c = ichar(s(i:i))
      if (s(i:i) == '"' .or. s(i:i) == '\') then
        q = q//'\'//s(i:i)
      else if (c >= 32 .and. c <= 126) then
        q = q//s(i:i)
      else
        q = q//'\x'//hex(c/16 + 1:c/16 + 1)//hex(mod(c, 16) + 1:mod(c, 16) + 1)
      end if
    end do
    q = q//'"'
  end function quoted

  function int_text(v) result(t)
    integer(8), intent(in) :: v
    character(len=:), allocatable :: t
    character(len=24) :: buffer
    write (buffer, '(i0)') v
    t = trim(buffer)
  end function int_text

  ! The fewest digits that read back to the same bits: positional (F0.d,
  ! with a leading 0) from 1e-5 to 1e16 and for zero, else G0.d.
  function real_text(x) result(t)
    real(8), intent(in) :: x
    character(len=:), allocatable :: t
    character(len=48) :: buffer
    character(len=8) :: edit
    real(8) :: back
    logical :: positional
    integer :: d
    positional = abs(x) < 1d16 .and. .not. (abs(x) > 0 .and. abs(x) < 1d-5)
    do d = 0, 17
      if (positional) then
        write (edit, '(a,i0,a)') '(f0.', d, ')'
      else
        write (edit, '(a,i0,a)') '(g0.', d + 1, ')'
      end if
      write (buffer, edit) x
      read (buffer, *) back
      if (transfer(back, 0_8) == transfer(x, 0_8)) exit
    end do
    t = trim(buffer)
    if (t(1:1) == '.') t = '0'//t
    if (t(1:2) == '-.') t = '-0'//t(2:)
  end function real_text

  function shape_text(n1, n2) result(t)
    integer, intent(in) :: n1
    integer, intent(in), optional :: n2
    character(len=:), allocatable :: t
    t = '('//int_text(int(n1, 8))
    if (present(n2)) t = t//','//int_text(int(n2, 8))
    t = t//')'
  end function shape_text

  ! The text, or '' when its hidden length is beyond any real one: a wrong
  ! length then shows in the record instead of ending the process.
  function text_of(s) result(t)
    character(len=*), intent(in) :: s
    character(len=:), allocatable :: t
    if (len(s, kind=8) > max_text) then
      t = ''
    else
      t = s
    end if
  end function text_of

  subroutine put_text(name, s)
    character(len=*), intent(in) :: name, s
    integer(8) :: n
    n = len(s, kind=8)
    if (n > max_text) then
      call add(name//'*'//int_text(n), '?')
    else
      call add(name//'*'//int_text(n), quoted(s))
    end if
  end subroutine put_text

  subroutine put_texts(name, s)
    character(len=*), intent(in) :: name, s(:)
    character(len=:), allocatable :: v
    integer(8) :: n
    integer :: i
    n = len(s, kind=8)
    if (n > max_text) then
      call add(name//'*'//int_text(n)//shape_text(size(s)), '?')
      return
    end if
    v = '['
    do i = 1, size(s)
      if (i > 1) v = v//','
      v = v//quoted(s(i))
    end do
    call add(name//'*'//int_text(n)//shape_text(size(s)), v//']')
  end subroutine put_texts

  subroutine put_int(name, v)
    character(len=*), intent(in) :: name
    integer, intent(in) :: v
    call add(name, int_text(int(v, 8)))
  end subroutine put_int

  subroutine put_real(name, x)
    character(len=*), intent(in) :: name
    real(8), intent(in) :: x
    call add(name, real_text(x))
  end subroutine put_real

  subroutine put_ints(name, a)
    character(len=*), intent(in) :: name
    integer, intent(in) :: a(:)
    character(len=:), allocatable :: v
    integer :: i
    v = '['
    do i = 1, size(a)
      if (i > 1) v = v//','
      v = v//int_text(int(a(i), 8))
    end do
    call add(name//shape_text(size(a)), v//']')
  end subroutine put_ints

  subroutine put_reals(name, a)
    character(len=*), intent(in) :: name
    real(8), intent(in) :: a(:)
    character(len=:), allocatable :: v
    integer :: i
    v = '['
    do i = 1, size(a)
      if (i > 1) v = v//','
      v = v//real_text(a(i))
    end do
    call add(name//shape_text(size(a)), v//']')
  end subroutine put_reals

  subroutine put_ints2(name, a)
    character(len=*), intent(in) :: name
    integer, intent(in) :: a(:, :)
    character(len=:), allocatable :: v
    integer :: i, j
    v = '['
    do j = 1, size(a, 2)
      do i = 1, size(a, 1)
        if (len(v) > 1) v = v//','
        v = v//int_text(int(a(i, j), 8))
      end do
    end do
    call add(name//shape_text(size(a, 1), size(a, 2)), v//']')
  end subroutine put_ints2

  subroutine put_reals2(name, a)
    character(len=*), intent(in) :: name
    real(8), intent(in) :: a(:, :)
    character(len=:), allocatable :: v
    integer :: i, j
    v = '['
    do j = 1, size(a, 2)
      do i = 1, size(a, 1)
        if (len(v) > 1) v = v//','
        v = v//real_text(a(i, j))
      end do
    end do
    call add(name//shape_text(size(a, 1), size(a, 2)), v//']')
  end subroutine put_reals2

  ! Hands `message` to the bridge's sendMessageToJava, NUL-terminated.
  subroutine relay(message)
    character(len=*), intent(in) :: message
    procedure(send_message), pointer :: send
    type(c_funptr) :: address
    address = find_relay()
    if (.not. c_associated(address)) return
    call c_f_procpointer(address, send)
    call send(message//c_null_char)
  end subroutine relay

  ! In-place arrays come back negated, so a caller sees what was written.
  subroutine negate1(a)
    real(8), intent(inout) :: a(:)
    a = -a
  end subroutine negate1

  subroutine negate2(a)
    real(8), intent(inout) :: a(:, :)
    a = -a
  end subroutine negate2

  subroutine keep_mesh(subbasin, cells, faces)
    character(len=*), intent(in) :: subbasin
    integer, intent(in) :: cells, faces
    integer :: i
    i = find_mesh(subbasin)
    if (i == 0) then
      if (meshes == max_meshes) return
      meshes = meshes + 1
      i = meshes
      mesh_names(i) = text_of(subbasin)
    end if
    mesh_cells(i) = cells
    mesh_faces(i) = faces
  end subroutine keep_mesh

  subroutine forget_meshes()
    meshes = 0
  end subroutine forget_meshes

  integer function find_mesh(subbasin)
    character(len=*), intent(in) :: subbasin
    do find_mesh = meshes, 1, -1
      if (mesh_names(find_mesh) == text_of(subbasin)) return
    end do
  end function find_mesh

  integer function cells_of(subbasin)
    character(len=*), intent(in) :: subbasin
    integer :: i
    i = find_mesh(subbasin)
    cells_of = 0
    if (i > 0) cells_of = mesh_cells(i)
  end function cells_of

  integer function faces_of(subbasin)
    character(len=*), intent(in) :: subbasin
    integer :: i
    i = find_mesh(subbasin)
    faces_of = 0
    if (i > 0) faces_of = mesh_faces(i)
  end function faces_of

  ! --- Records shared by several routines -----------------------------------

  subroutine name_only(routine, subbasin)
    character(len=*), intent(in) :: routine, subbasin
    call begin(routine); call put('subbasin', subbasin); call finish()
  end subroutine name_only

  ! Starts the record of a boundary declaration.
  subroutine boundary_faces(routine, subbasin, boundary, faceCount, &
                            faceIndices, faceFractions)
    character(len=*), intent(in) :: routine, subbasin, boundary
    integer, intent(in) :: faceCount, faceIndices(faceCount)
    real(8), intent(in) :: faceFractions(faceCount)
    call begin(routine); call put('subbasin', subbasin)
    call put('boundary', boundary); call put('faceCount', faceCount)
    call put('faceIndices', faceIndices); call put('faceFractions', faceFractions)
  end subroutine boundary_faces

  subroutine boundary_value(routine, subbasin, boundary, value)
    character(len=*), intent(in) :: routine, subbasin, boundary
    real(8), intent(in) :: value
    call begin(routine); call put('subbasin', subbasin)
    call put('boundary', boundary); call put('value', value); call finish()
  end subroutine boundary_value

  ! A boundary result: value = value + 100 code.
  subroutine boundary_result(routine, subbasin, boundary, value, code)
    character(len=*), intent(in) :: routine, subbasin, boundary
    real(8), intent(inout) :: value
    integer, intent(in) :: code
    call boundary_value(routine, subbasin, boundary, value)
    value = value + 100*code
  end subroutine boundary_result

  ! A cell or face result for n cells (faces):
  ! values(c) = 100 code + c + i1/2 + i2/4, i2 = 0 when absent.
  subroutine subbasin_result(routine, subbasin, values, n, code, i1, i2)
    character(len=*), intent(in) :: routine, subbasin
    integer, intent(in) :: n, code, i1
    real(8), intent(out) :: values(n)
    integer, intent(in), optional :: i2
    integer :: c, j2
    call begin(routine); call put('subbasin', subbasin); call put('i1', i1)
    j2 = 0
    if (present(i2)) then
      call put('i2', i2); j2 = i2
    end if
    call finish()
    do c = 1, n
      values(c) = 100*code + c + 0.5d0*i1 + 0.25d0*j2
    end do
  end subroutine subbasin_result

end module quarnel_record
